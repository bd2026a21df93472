#pragma once
// The settings file ("Sonvara_RGB.ini"): a reader and writer of INI text that behaves like the
// classic private-profile functions and leaves every byte it does not have to change as it was.
//
// - Sections ("[name]") and keys ("key=value") are found case-insensitively (ASCII); names and
//   values are trimmed of blanks, and a value in matching quotes loses them on reading.
// - Lines starting with ';' or '#' are comments. A header without "]" names the rest of its
//   line. Lines before the first section, lines without "=" and a UTF-8 byte-order mark are
//   kept but never match.
// - Reading: the first occurrence wins, in file order across repeated sections of one name.
//   Writing updates that same occurrence in place (so a read after a write returns what was
//   written) and leaves later duplicates alone. A new key goes after the last key of the first
//   section of that name (right after its header when it has none); a new section goes at the
//   end of the file after a blank line.
// - Line ends are kept per line (LF or CRLF); added lines take the file's first line end.
// - Nothing is written until Save, which replaces the file atomically (temporary file, flush,
//   rename): a crash leaves the old file or the new one, never half of one.
//
// Used on the user-interface thread only.

#include <string>
#include <string_view>
#include <vector>

// The classic whole-number reading of a text: blanks, an optional sign and decimal digits;
// 0 when the text does not start with a number; clamped to the 32-bit range.
int ProfileTextToInt(std::string_view text);

class ProfileFile {
public:
    ProfileFile() = default;
    // Reads the file at path; a missing or unreadable file gives an empty profile.
    explicit ProfileFile(std::string path);
    // A profile of the given text, not tied to a file (Save fails until SetPath).
    static ProfileFile FromText(std::string_view text);

    // Re-reads the file; false (and an empty profile) when it cannot be read.
    bool Load();
    // Writes the profile to its file atomically; false when that fails.
    bool Save() const;
    const std::string& Path() const { return path; }
    void SetPath(std::string newPath) { path = std::move(newPath); }
    // The bytes Save would write.
    std::string Text() const;

    // The value as a whole number: the default when the key is missing or its value empty,
    // otherwise ProfileTextToInt of the value.
    int GetProfileInt(std::string_view section, std::string_view key, int defaultValue) const;
    std::string GetProfileString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const;
    // Sets a key, adding the key or the section when missing. Line breaks in the value become
    // blanks. False (and nothing changed) for a name the file could not read back: empty, or
    // holding a line break, a key holding "=" or starting like a section or comment, a
    // section holding "]".
    bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteProfileInt(std::string_view section, std::string_view key, long long value);

private:
    struct Line {
        std::string text;    // without the line end
        std::string ending;  // "\n", "\r\n", or "" for a last line without one
    };

    void Parse(std::string_view bytes);
    // Index of the line holding the key, or -1.
    int FindKey(std::string_view section, std::string_view key) const;
    // Index of the first header of the section, or -1.
    int FindSection(std::string_view section) const;
    void InsertLine(int at, std::string text);

    std::string path;
    std::vector<Line> lines;
    std::string newline = "\n";
};
