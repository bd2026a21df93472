#pragma once
// One table of commands: identifier, handler, and an update function that says whether the
// command is enabled and checked (and, for a few entries, which text it shows). Menus, the
// tool bar and the accelerators are built from identifiers and refreshed from this table.

#include <functional>
#include <map>
#include <string>
#include <vector>

struct CommandState {
    bool enabled = true;
    bool checked = false;
    std::string text;  // empty keeps the menu's own text
};

class CommandTable {
public:
    using Handler = std::function<void()>;
    using Update = std::function<CommandState()>;

    // Adds or replaces a command. Without an update function it is always enabled.
    void Add(int id, Handler handler, Update update = {});
    void Remove(int id);
    bool Has(int id) const { return commands.count(id) != 0; }
    // A command without a handler in the table is disabled (it exists in the menus only).
    CommandState State(int id) const;
    // Runs the handler when the command exists and is enabled; returns whether it ran.
    bool Execute(int id) const;

private:
    struct Entry {
        Handler handler;
        Update update;
    };
    std::map<int, Entry> commands;
};

// Commands are looked up in the active view's table first, then in the frame's: the view's
// own zoom, grid and measuring commands win over the frame's and the document's.
class CommandRouter {
public:
    explicit CommandRouter(const CommandTable& frameTable) : frame(frameTable) {}
    void SetActiveView(const CommandTable* viewTable) { view = viewTable; }
    const CommandTable& TableFor(int id) const;
    CommandState State(int id) const { return TableFor(id).State(id); }
    bool Execute(int id) const { return TableFor(id).Execute(id); }

private:
    const CommandTable& frame;
    const CommandTable* view = nullptr;
};

// Keyboard accelerators of the main window: key in portable text ("Ctrl+N", "Up", "+").
struct Accelerator {
    const char* key;
    int id;
};
const std::vector<Accelerator>& AcceleratorTable();

// The hot-key list dialog's rows: command, hot key, description.
struct HotKeyRow {
    const char* command;
    const char* key;
    const char* description;
};
const std::vector<HotKeyRow>& HotKeyRows();
