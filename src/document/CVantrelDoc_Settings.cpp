// The settings file "Sonvara_RGB.ini": every setting is read at start-up and on entering real
// time, and written before the Connect dialog, before a file is played back and when the
// document closes. Keys missing from the file take their defaults; values out of range are
// taken as they are (the commands and the heads cope with them). The keys are those of
// SettingsTable; the window rectangles follow the View keys.

#include <string>

#include "document/CVantrelDoc.h"
#include "document/SettingsTable.h"
#include "shell/ProfileFile.h"

namespace {

constexpr const char* kView = "View";
constexpr const char* kRectKeys[4] = {" Left", " Top", " Right", " Bottom"};

std::int32_t& RectField(WindowRect& rect, int field) {
    return field == 0 ? rect.left : field == 1 ? rect.top : field == 2 ? rect.right : rect.bottom;
}

bool ForHead(const Setting& setting, int head) {
    return setting.onlyHead < 0 || setting.onlyHead == head;
}

void LoadSetting(const ProfileFile& file, const char* section, const Setting& s, CVantrelDoc& doc,
                 int head) {
    const long long fallback = s.headFallback ? s.headFallback(head) : s.fallback;
    switch (s.read) {
        case SettingRead::Int:
            s.set(doc, head, file.GetProfileInt(section, s.key, static_cast<int>(fallback)));
            break;
        case SettingRead::Text:
            s.set(doc, head,
                  ProfileTextToInt(file.GetProfileString(section, s.key, std::to_string(fallback))));
            break;
        case SettingRead::String:
            s.setText(doc, head,
                      file.GetProfileString(section, s.key, s.fallbackText ? s.fallbackText(head) : ""));
            break;
        case SettingRead::WrittenOnly:
            break;
    }
}

void SaveSetting(ProfileFile& file, const char* section, const Setting& s, const CVantrelDoc& doc,
                 int head) {
    if (s.writes && !s.writes(doc)) return;
    if (s.read == SettingRead::String) {
        file.WriteProfileString(section, s.key, s.getText(doc, head));
    } else {
        file.WriteProfileInt(section, s.key, s.get(doc, head));
    }
}

// Calls each(sectionName, setting, head) for every key of the table in file order, and
// windowRectangles() where the View section's keys end.
template <typename Each, typename Rectangles>
void ForEachSetting(Each each, Rectangles windowRectangles) {
    for (const SettingSection& section : SettingSections()) {
        const int heads = section.name ? 1 : kHeadCount;
        for (int h = 0; h < heads; ++h) {
            const char* name = section.name ? section.name : HeadIniSection(h);
            for (const Setting& setting : section.settings) {
                if (ForHead(setting, h)) each(name, setting, h);
            }
        }
        if (section.windowRectangles) windowRectangles();
    }
}

}  // namespace

void CVantrelDoc::LoadSettings() {
    if (!iniPath.empty()) LoadSettings(ProfileFile(iniPath));
}

void CVantrelDoc::SaveSettings() {
    if (iniPath.empty()) return;
    ProfileFile file(iniPath);
    SaveSettings(file);
    file.Save();  // write failures are ignored: the next save tries again
}

void CVantrelDoc::LoadSettings(const ProfileFile& file) {
    // The colour indicator always starts hidden; its stored state is only written back.
    images.colorIndicator = 0;
    ForEachSetting([&](const char* section, const Setting& setting,
                       int head) { LoadSetting(file, section, setting, *this, head); },
                   [] {});
    ApplyPlaySpeed();
    int present[kHeadCount];
    for (int h = 0; h < kHeadCount; ++h) present[h] = heads[h].available;
    ConfigureHeads(present);
    // The windows are placed for the configuration just applied.
    LoadWindowLayout(file);
    BuildSwitchCommands();
    BuildActivePalette();
    observer->PaletteChanged();
}

void CVantrelDoc::LoadWindowLayout(const ProfileFile& file) {
    // Missing rectangles take the default layout.
    WindowLayout& layout = display.layout;
    ComputeDefaultLayout(layout);
    for (int w = 0; w < kLayoutWindowCount; ++w) {
        const std::string name = LayoutWindowName(w);
        for (int f = 0; f < 4; ++f) {
            std::int32_t& value = RectField(layout.rects[w], f);
            value = file.GetProfileInt(kView, name + kRectKeys[f], value);
        }
        layout.show[w] = file.GetProfileInt(kView, LayoutShowKey(w), 1);
    }
    observer->ApplyWindowLayout(true);
}

void CVantrelDoc::SaveSettings(ProfileFile& file) {
    ForEachSetting(
        [&](const char* section, const Setting& setting, int head) {
            // The heads and the serial port describe the installation: only real time knows them.
            if (setting.installation && playbackMode) return;
            SaveSetting(file, section, setting, *this, head);
        },
        [&] { SaveWindowLayout(file); });
}

void CVantrelDoc::SaveWindowLayout(ProfileFile& file) {
    WindowLayout& layout = display.layout;
    for (int w = 0; w < kLayoutWindowCount; ++w) {
        WindowRect taken;
        const bool exists = observer->TakeWindowRect(w, taken);
        // The main window always exists; a minimised or off-screen window keeps the stored
        // rectangle.
        layout.show[w] = (w == kMenuFrame || exists) ? 1 : 0;
        if (exists && taken.IsStorable()) layout.rects[w] = taken;
        const std::string name = LayoutWindowName(w);
        for (int f = 0; f < 4; ++f) {
            file.WriteProfileInt(kView, name + kRectKeys[f], RectField(layout.rects[w], f));
        }
        file.WriteProfileInt(kView, LayoutShowKey(w), layout.show[w]);
    }
}
