#include "app/ui/SonarWindows.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/WindowTitles.h"
#include "document/CVantrelDoc.h"
#include "shell/CommandIds.h"
#include "shell/CommandTable.h"
#include "ui/imaging/CSonarHView.h"
#include "ui/imaging/CSonarLView.h"
#include "ui/imaging/CSonarMView.h"
#include "ui/imaging/CVantrelView.h"

SonarWindows::SonarWindows(CVantrelDoc& document, QMdiArea* mdi, ViewHost* viewHost,
                           CommandRouter& commandRouter)
    : QObject(mdi),
      doc(document),
      area(mdi),
      host(viewHost),
      router(commandRouter),
      table(document, mdi) {
    // The main (composite) window first: it is brought to the top before the others.
    for (int w = kMainFrame; w <= kHFrame; ++w) {
        LayoutEntry entry;
        entry.window = w;
        entry.create = [this, w] { return Create(w); };
        entry.existing = [this, w] { return static_cast<QWidget*>(subs[w].data()); };
        entry.wanted = [this, w] { return Wanted()[w]; };
        entry.title = [this, w] { return Title(w); };
        entry.movedByEveryLayout = [this] { return doc.threeFrequencySystem != 0; };
        entry.fixedFrame = w == kMainFrame;
        table.Add(std::move(entry));
    }
    connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        auto* view = sub ? qobject_cast<CSecondView*>(sub->widget()) : nullptr;
        router.SetActiveView(view ? &view->Commands() : nullptr);
        // The zoom pane follows the window whose zoom commands the menus now show.
        if (view) view->ShowZoom();
    });
}

int SonarWindows::SlotOf(int window) const {
    // A three-frequency system shows one window per frequency. Other systems show their two
    // display channels in the first two side-scan windows.
    if (doc.threeFrequencySystem) return window - kLFrame;
    return window == kLFrame ? doc.displayChannelA : doc.displayChannelB;
}

std::array<bool, kLayoutWindowCount> SonarWindows::Wanted() const {
    std::array<bool, kLayoutWindowCount> wanted{};
    if (doc.threeFrequencySystem) {
        // The composite of the three frequencies in the main window, and one window each.
        wanted[kMainFrame] = true;
        wanted[kLFrame] = wanted[kMFrame] = wanted[kHFrame] = true;
    } else if (doc.twoFrequencySystem) {
        wanted[kLFrame] = wanted[kMFrame] = true;
    } else {
        // One side-scan head: both display channels name it.
        wanted[kLFrame] = doc.heads[doc.displayChannelA].available && doc.displayChannelA != kHeadES;
    }
    return wanted;
}

int SonarWindows::ShownHead(int window) const {
    const auto* view = subs[window] ? qobject_cast<CSecondView*>(subs[window]->widget()) : nullptr;
    return view ? view->State().Slot() : SlotOf(window);
}

int SonarWindows::ShownFrequencyHz(int window) const {
    const int head = ShownHead(window);
    if (head < kHeadL || head > kHeadH) return 0;
    // A head the installation does not have reports no frequency: the window keeps its name.
    const int frequencyHz = doc.heads[head].frequencyHz;
    return frequencyHz > 0 ? frequencyHz : NominalFrequencyHz(head);
}

QString SonarWindows::Title(int window) const {
    if (window == kMainFrame) return QStringLiteral("Sonvara_RGB");
    return QString::fromStdString(LayoutWindowTitle(window, ShownFrequencyHz(window)));
}

QMdiSubWindow* SonarWindows::Create(int window) {
    CSecondView* view = nullptr;
    switch (window == kMainFrame ? -1 : SlotOf(window)) {
        case -1:
            view = new CVantrelView(doc);
            break;
        case kHeadL:
            view = new CSonarLView(doc);
            break;
        case kHeadM:
            view = new CSonarMView(doc);
            break;
        default:
            view = new CSonarHView(doc);
            break;
    }
    view->setObjectName(window == kMainFrame ? QStringLiteral("compositeView")
                                             : QStringLiteral("sonarView"));
    view->SetHost(host);
    QMdiSubWindow* sub = area->addSubWindow(view);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setObjectName(QString::fromLatin1(LayoutWindowName(window)));
    subs[window] = sub;
    return sub;
}

bool SonarWindows::TakeRect(int window, WindowRect& rect) const {
    return table.TakeRect(window, rect);
}

void SonarWindows::ShowWindow(int window) {
    if (!subs[window]) {
        Create(window);
        subs[window]->setWindowTitle(
            QString::fromStdString(CommandWindowTitle(window, ShownHead(window))));
        table.Place(window, window == kMFrame ? 0.5 : 1.0);
    }
    area->setActiveSubWindow(subs[window]);
    subs[window]->raise();
    ApplyLayout(false);
}

void SonarWindows::UpdateViews() {
    for (const auto& sub : subs) {
        if (sub && sub->widget()) sub->widget()->update();
    }
}

void SonarWindows::ResizeImages() {
    for (const auto& sub : subs) {
        if (auto* view = sub ? qobject_cast<CSecondView*>(sub->widget()) : nullptr) {
            view->ResizeImage();
        }
    }
}

void SonarWindows::AddCommands(CommandTable& commands) {
    const std::pair<int, int> windows[] = {
        {kCmdWindowL, kLFrame}, {kCmdWindowM, kMFrame}, {kCmdWindowH, kHFrame}};
    for (const auto& [id, window] : windows) {
        commands.Add(
            id, [this, w = window] { ShowWindow(w); },
            [this, w = window] {
                return CommandState{Wanted()[w], Exists(w), {}};
            });
    }
    commands.Add(kCmdDefaultLayout, [this] {
        ComputeDefaultLayout(doc.display.layout);
        ApplyLayout(true);
    });
    commands.Add(kCmdVerticalScroll, [this] {
        ComputeVerticalLayout(doc.display.layout, doc.threeFrequencySystem != 0);
        ApplyLayout(true);
    });
}
