#include "ui/survey/SurveyCommands.h"

#include <QInputDialog>
#include <QMdiSubWindow>

#include "common/TextFormat.h"
#include "document/CVantrelDoc.h"
#include "shell/CommandIds.h"
#include "shell/CommandTable.h"
#include "ui/gps/CGPSTrackView.h"
#include "ui/gps/GpsWindows.h"
#include "ui/survey/LineGeneratorDialog.h"

namespace {

// "Ground swath at 50 m range and 8.2 m altitude: 96.6 m".
QString SwathText(const CVantrelDoc& doc, double swathM) {
    const std::optional<double> altitude = doc.CurrentAltitudeM();
    const std::string at = altitude ? Printf(" and %.1f m altitude", *altitude)
                                    : std::string(" (altitude unknown: the full range)");
    return QString::fromStdString(
        Printf("Ground swath at %d m range", doc.range) + at + Printf(": %.1f m", swathM));
}

void GenerateLines(CVantrelDoc& doc, QWidget* parent, const ModalRunner& runModal) {
    const survey::SurveyLine* first = doc.survey.plan.Active();
    if (!first) return;
    const double swath = doc.CurrentSwathM();
    LineGeneratorDialog dialog(*first, swath, SwathText(doc, swath), parent);
    if (runModal(dialog) != QDialog::Accepted) return;
    std::vector<survey::SurveyLine> lines = survey::ParallelLines(dialog.Request());
    if (!lines.empty()) doc.ReplaceSurveyLines(std::move(lines));
}

void AskOffLineAlarm(CVantrelDoc& doc, QWidget* parent, const ModalRunner& runModal) {
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("offLineAlarm"));
    dialog.setWindowTitle(QStringLiteral("Off-Line Alarm"));
    dialog.setLabelText(QStringLiteral("Cross-track distance that turns the read-out red (m):"));
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(1, 1000);
    dialog.setIntValue(doc.survey.settings.alarmM);
    if (runModal(dialog) == QDialog::Accepted) doc.SetOffLineAlarm(dialog.intValue());
}

}  // namespace

void AddSurveyCommands(CommandTable& table, CVantrelDoc& doc, GpsWindows& gps, QWidget* parent,
                       ModalRunner runModal) {
    const auto havePlan = [&doc] { return CommandState{!doc.survey.plan.lines.empty(), false, {}}; };
    table.Add(kCmdOpenSurveyPlan, [&doc] { doc.OpenSurveyPlan(); });
    table.Add(kCmdSaveSurveyPlan, [&doc] { doc.SaveSurveyPlan(); }, havePlan);
    table.Add(kCmdGenerateLines, [&doc, parent, runModal] { GenerateLines(doc, parent, runModal); },
              havePlan);
    table.Add(kCmdNextLine, [&doc] { doc.NextSurveyLine(); }, [&doc] {
        const survey::LinePlan& plan = doc.survey.plan;
        return CommandState{plan.active >= 0 && plan.active + 1 < static_cast<int>(plan.lines.size()),
                            false, {}};
    });
    table.Add(kCmdPreviousLine, [&doc] { doc.PreviousSurveyLine(); },
              [&doc] { return CommandState{doc.survey.plan.active > 0, false, {}}; });
    table.Add(kCmdFitPlan, [&gps] {
        if (!gps.TrackWindow() || !gps.TrackWindow()->isVisible()) gps.ToggleTrackView();
        if (CGPSTrackView* view = gps.TrackView()) view->FitPlan();
    }, havePlan);
    table.Add(kCmdRecordOnLine, [&doc] { doc.ToggleRecordOnLine(); }, [&doc] {
        return CommandState{doc.playbackMode == 0, doc.survey.lineRecording.enabled, {}};
    });
    table.Add(kCmdOffLineAlarm, [&doc, parent, runModal] { AskOffLineAlarm(doc, parent, runModal); });
}
