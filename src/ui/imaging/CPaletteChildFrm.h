#pragma once
// The palette editor's window, titled "Palette": a tool window of the main window holding the
// CPaletteView. It is created once at start-up (hidden), placed at the document's
// paletteFrameRect, shown and hidden by the "X" button, the title bar's close button, command
// 41127 and "Custom &Palette...", and keeps paletteFrameRect up to date when it moves or is
// sized. Close() stores section "Palette" and the palette file before the window is deleted.

#include <QWidget>
#include <array>
#include <cstdint>

class CommandTable;
class CPaletteView;
class CVantrelDoc;
class ProfileFile;
class ViewHost;

class CPaletteChildFrm : public QWidget {
    Q_OBJECT
public:
    explicit CPaletteChildFrm(CVantrelDoc& doc, QWidget* parent = nullptr);

    CPaletteView* View() const { return view; }
    void SetHost(ViewHost* host);

    // Shows or hides the window as the document's paletteWindowVisible says.
    void SyncVisibility();
    // Command 41127 and the "X" button: toggles paletteWindowVisible and follows it.
    void ToggleWindow();
    // "Custom &Palette..." of the colour-table menu: the custom palette is switched on and the
    // editor shown.
    void ShowCustomPaletteEditor();
    // DocumentObserver::PaletteChanged: the editor follows the document (a loaded file, the
    // "Apply" state, the window flag).
    void PaletteChanged();
    // Commands 41121 (load), 41122 (save) and 41127 (show/hide, enabled while the custom
    // palette is in use) for the main window's table; with a customPaletteId also the menu
    // entry "Custom &Palette..." under that identifier (checked while the custom palette is on).
    void AddCommands(CommandTable& table, int customPaletteId = 0);
    // The editor is closed for good (application exit): section "Palette" of the settings and,
    // with the custom palette on, the palette file are written; the editor model is released.
    void Close(bool applicationClosing, ProfileFile& settings);

    // The window's place as the settings store it: left, top, right, bottom of the client
    // area in screen coordinates.
    std::array<std::int32_t, 4> FrameRect() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceAtStoredRect();
    void StoreRect();

    CVantrelDoc& doc;
    CPaletteView* view = nullptr;
    bool closed = false;
};
