#include "shell/ProfileFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <filesystem>

#include "common/RegularFile.h"

namespace {

constexpr std::string_view kBlanks = " \t\r\f\v";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

enum class LineKind { Other, Comment, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;   // section or key
    std::string_view value;  // key lines: the trimmed value
    std::size_t valueStart = 0;
};

std::string_view Trim(std::string_view s) {
    const std::size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

ParsedLine ParseLine(std::string_view text, bool firstLine) {
    std::size_t start = 0;
    if (firstLine && text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        start = kByteOrderMark.size();
    }
    start = text.find_first_not_of(kBlanks, start);
    ParsedLine line;
    if (start == std::string_view::npos) return line;
    const char lead = text[start];
    if (lead == ';' || lead == '#') {
        line.kind = LineKind::Comment;
    } else if (lead == '[') {
        const std::size_t close = text.find(']', start + 1);
        const std::size_t end = close == std::string_view::npos ? text.size() : close;
        line.kind = LineKind::Section;
        line.name = Trim(text.substr(start + 1, end - start - 1));
    } else if (const std::size_t eq = text.find('=', start); eq != std::string_view::npos) {
        line.name = Trim(text.substr(start, eq - start));
        if (line.name.empty()) return line;
        line.kind = LineKind::Key;
        const std::size_t valueFirst = text.find_first_not_of(kBlanks, eq + 1);
        line.valueStart = valueFirst == std::string_view::npos ? text.size() : valueFirst;
        line.value = Trim(text.substr(line.valueStart));
    }
    return line;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::string why;
    return ReadRegularFile(path, bytes, why);
}

// Writes a temporary file beside the target, flushes it to the disk and renames it over the
// target, so that the target is always either the old file or the whole new one.
bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // Through a symbolic link: replace the file it points to, not the link.
    fs::path target = fs::weakly_canonical(fs::path(path), ec);
    if (ec || target.empty()) target = path;
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    // A FIFO, a device or a directory in the settings file's place is left as it is.
    if (exists && !S_ISREG(old.st_mode)) return false;
    std::string temp = target.string() + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    const mode_t mode = exists ? (old.st_mode & 07777) : 0644;
    const bool written =
        WriteAll(fd, bytes.data(), bytes.size()) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    const int dir = ::open(target.parent_path().empty() ? "." : target.parent_path().c_str(),
                           O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace

int ProfileTextToInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min(value * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    if (negative) value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

ProfileFile::ProfileFile(std::string filePath) : path(std::move(filePath)) {
    Load();
}

ProfileFile ProfileFile::FromText(std::string_view text) {
    ProfileFile profile;
    profile.Parse(text);
    return profile;
}

bool ProfileFile::Load() {
    std::string bytes;
    const bool read = !path.empty() && ReadWholeFile(path, bytes);
    Parse(read ? bytes : std::string_view{});
    return read;
}

bool ProfileFile::Save() const {
    return !path.empty() && WriteFileAtomically(path, Text());
}

void ProfileFile::Parse(std::string_view bytes) {
    lines.clear();
    newline = "\n";
    bool newlineKnown = false;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t lf = bytes.find('\n', pos);
        if (lf == std::string_view::npos) {
            lines.push_back({std::string(bytes.substr(pos)), ""});
            break;
        }
        const bool crlf = lf > pos && bytes[lf - 1] == '\r';
        const std::size_t end = crlf ? lf - 1 : lf;
        lines.push_back({std::string(bytes.substr(pos, end - pos)), crlf ? "\r\n" : "\n"});
        if (!newlineKnown) {
            newline = lines.back().ending;
            newlineKnown = true;
        }
        pos = lf + 1;
    }
}

std::string ProfileFile::Text() const {
    std::string text;
    for (const Line& line : lines) text += line.text + line.ending;
    return text;
}

int ProfileFile::FindKey(std::string_view section, std::string_view key) const {
    section = Trim(section);
    key = Trim(key);
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine line = ParseLine(lines[i].text, i == 0);
        if (line.kind == LineKind::Section) {
            inSection = SameName(line.name, section);
        } else if (inSection && line.kind == LineKind::Key && SameName(line.name, key)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int ProfileFile::FindSection(std::string_view section) const {
    section = Trim(section);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine line = ParseLine(lines[i].text, i == 0);
        if (line.kind == LineKind::Section && SameName(line.name, section)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int ProfileFile::GetProfileInt(std::string_view section, std::string_view key,
                               int defaultValue) const {
    const int at = FindKey(section, key);
    if (at < 0) return defaultValue;
    const std::string_view value = Unquote(ParseLine(lines[at].text, at == 0).value);
    return value.empty() ? defaultValue : ProfileTextToInt(value);
}

std::string ProfileFile::GetProfileString(std::string_view section, std::string_view key,
                                          std::string_view defaultValue) const {
    const int at = FindKey(section, key);
    if (at < 0) return std::string(defaultValue);
    return std::string(Unquote(ParseLine(lines[at].text, at == 0).value));
}

void ProfileFile::InsertLine(int at, std::string text) {
    // The line before it may have been the last one, without a line end.
    if (at > 0 && lines[at - 1].ending.empty()) lines[at - 1].ending = newline;
    lines.insert(lines.begin() + at, Line{std::move(text), newline});
}

bool ProfileFile::WriteProfileString(std::string_view section, std::string_view key,
                                     std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key) ||
        section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos ||
        key.front() == '[' || key.front() == ';' || key.front() == '#') {
        return false;
    }
    std::string text(value);
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');

    if (const int at = FindKey(section, key); at >= 0) {
        Line& line = lines[at];
        line.text = line.text.substr(0, ParseLine(line.text, at == 0).valueStart) + text;
        return true;
    }
    const std::string entry = std::string(key) + "=" + text;
    if (const int header = FindSection(section); header >= 0) {
        int at = header + 1;
        for (int i = header + 1; i < static_cast<int>(lines.size()); ++i) {
            const ParsedLine line = ParseLine(lines[i].text, false);
            if (line.kind == LineKind::Section) break;
            if (line.kind == LineKind::Key) at = i + 1;
        }
        InsertLine(at, entry);
        return true;
    }
    int end = static_cast<int>(lines.size());
    if (end > 0 && !Trim(lines.back().text).empty()) InsertLine(end++, "");
    InsertLine(end, "[" + std::string(section) + "]");
    InsertLine(end + 1, entry);
    return true;
}

bool ProfileFile::WriteProfileInt(std::string_view section, std::string_view key, long long value) {
    return WriteProfileString(section, key, std::to_string(value));
}
