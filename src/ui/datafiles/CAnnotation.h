#pragma once
// The "Event Information" dialog: modeless, made on first use and then shown and hidden. It
// mirrors the document's EventDialogState (new event: the annotation editable, the four
// navigation buttons hidden; review: NEXT, PREV, DELETE, EDIT shown, the annotation read-only
// until EDIT) and hands every button to the document's event operations.

#include <QDialog>

#include "datafiles/EventState.h"

class CVantrelDoc;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class CAnnotation : public QDialog {
    Q_OBJECT
public:
    CAnnotation(CVantrelDoc& doc, QWidget* parent);

    // Fills, shows or hides the dialog from the document's state.
    void ShowState(const EventDialogState& state);
    // Actions that stay reachable by their keys while a review has the focus.
    void SetReviewActions(const QList<QAction*>& actions) { reviewActions = actions; }

    QPlainTextEdit* annotationEdit = nullptr;  // 1047
    QLineEdit* numberEdit = nullptr;           // 1061
    QLineEdit* pingEdit = nullptr;             // 1062
    QLineEdit* dateEdit = nullptr;             // 1048
    QLineEdit* timeEdit = nullptr;             // 1049
    QLineEdit* latitudeEdit = nullptr;         // 1037
    QLineEdit* longitudeEdit = nullptr;        // 1040
    QPushButton* okButton = nullptr;           // 1
    QPushButton* cancelButton = nullptr;       // 2
    QPushButton* nextButton = nullptr;         // 1063
    QPushButton* prevButton = nullptr;         // 1065
    QPushButton* deleteButton = nullptr;       // 1067
    QPushButton* editButton = nullptr;         // 1070

protected:
    void reject() override;

private:
    QLineEdit* AddField(class QFormLayout* form, int id, const char* label);
    QPushButton* AddButton(class QBoxLayout* row, int id, const char* text);
    void Accept();
    void UseReviewKeys(bool on);

    CVantrelDoc& doc;
    QList<QAction*> reviewActions;
    bool reviewKeys = false;
    // The dialog is being filled from the document: its own signals are not handed on.
    bool filling = false;
};
