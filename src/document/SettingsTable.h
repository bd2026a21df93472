#pragma once
// Every key of the settings file "Sonvara_RGB.ini" in one table: its section and name, how it
// is read, its default and the values that make sense, and where it goes in the document.
// Loading and saving both walk the table, so a key is spelt once; the table's order is the
// order in which a new file is written.

#include <span>
#include <string>

class CVantrelDoc;

enum class SettingRead {
    Int,          // GetProfileInt
    Text,         // read as text and converted with the classic decimal conversion
    String,       // a text kept as it is
    WrittenOnly,  // written for other programs; the document derives it
};

struct Setting {
    const char* key;
    SettingRead read = SettingRead::Int;
    long long fallback = 0;  // when the key is missing
    long long min = 0, max = 0;  // the values the program makes sense of (others are kept)
    // Written only in real time: it describes the installation (heads, serial port), which a
    // played file does not know.
    bool installation = false;
    long long (*get)(const CVantrelDoc&, int head) = nullptr;
    void (*set)(CVantrelDoc&, int head, long long value) = nullptr;
    std::string (*getText)(const CVantrelDoc&, int head) = nullptr;
    void (*setText)(CVantrelDoc&, int head, const std::string& value) = nullptr;
    std::string (*fallbackText)(int head) = nullptr;  // a String key's default
    long long (*headFallback)(int head) = nullptr;    // a default that differs by head
    bool (*writes)(const CVantrelDoc&) = nullptr;     // null: always written
    int onlyHead = -1;                                // a head section's key of one head only
};

struct SettingSection {
    const char* name;  // null: the section of each head ("Sonar L" ... "Echo Sounder")
    std::span<const Setting> settings;
    bool windowRectangles = false;  // the window rectangles follow the keys (View)
};

// The sections in the order the file holds them: System, the four heads, GPS Info, View,
// Filters Enabled. The window rectangles of View follow its keys and are not in the table.
std::span<const SettingSection> SettingSections();
