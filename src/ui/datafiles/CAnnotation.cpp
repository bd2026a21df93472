#include "ui/datafiles/CAnnotation.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/CVantrelDoc.h"

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

CAnnotation::CAnnotation(CVantrelDoc& document, QWidget* parent) : QDialog(parent), doc(document) {
    setObjectName(QStringLiteral("eventDialog"));
    setWindowTitle(QStringLiteral("Event Information"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    numberEdit = AddField(form, 1061, "Event Number:");
    pingEdit = AddField(form, 1062, "Ping Number:");
    dateEdit = AddField(form, 1048, "Date:");
    timeEdit = AddField(form, 1049, "Time:");
    latitudeEdit = AddField(form, 1037, "Latitude:");
    longitudeEdit = AddField(form, 1040, "Longitude:");
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("Annotation:"), this));
    annotationEdit = new QPlainTextEdit(this);
    annotationEdit->setObjectName(QStringLiteral("edit1047"));
    annotationEdit->setTabChangesFocus(true);
    annotationEdit->setMinimumSize(360, 90);
    layout->addWidget(annotationEdit, 1);
    auto* navigation = new QHBoxLayout;
    prevButton = AddButton(navigation, 1065, "PREV");
    nextButton = AddButton(navigation, 1063, "NEXT");
    editButton = AddButton(navigation, 1070, "EDIT");
    deleteButton = AddButton(navigation, 1067, "DELETE");
    layout->addLayout(navigation);
    auto* answers = new QHBoxLayout;
    answers->addStretch(1);
    okButton = AddButton(answers, 1, "OK");
    cancelButton = AddButton(answers, 2, "Cancel");
    okButton->setDefault(true);
    layout->addLayout(answers);

    connect(okButton, &QPushButton::clicked, this, [this] { Accept(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { reject(); });
    connect(nextButton, &QPushButton::clicked, this, [this] { doc.NextEvent(); });
    connect(prevButton, &QPushButton::clicked, this, [this] { doc.PreviousEvent(); });
    connect(deleteButton, &QPushButton::clicked, this, [this] { doc.DeleteEvent(); });
    connect(editButton, &QPushButton::clicked, this, [this] { doc.EditEvent(); });
}

QLineEdit* CAnnotation::AddField(QFormLayout* form, int id, const char* label) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("edit%1").arg(id));
    // The document fills these from the ping; only the annotation is typed.
    edit->setReadOnly(true);
    form->addRow(QString::fromLatin1(label), edit);
    return edit;
}

QPushButton* CAnnotation::AddButton(QBoxLayout* row, int id, const char* text) {
    auto* button = new QPushButton(QString::fromLatin1(text), this);
    button->setObjectName(QStringLiteral("button%1").arg(id));
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

void CAnnotation::ShowState(const EventDialogState& state) {
    filling = true;
    numberEdit->setText(Text(state.number));
    pingEdit->setText(Text(state.ping));
    dateEdit->setText(Text(state.date));
    timeEdit->setText(Text(state.time));
    latitudeEdit->setText(Text(state.latitude));
    longitudeEdit->setText(Text(state.longitude));
    // Text being typed stays; a text of the document's replaces what is shown otherwise.
    if (!state.annotationEditable || state.mode == EventDialogState::Mode::NewEvent) {
        if (annotationEdit->toPlainText() != Text(state.annotation)) {
            annotationEdit->setPlainText(Text(state.annotation));
        }
    }
    annotationEdit->setReadOnly(!state.annotationEditable);
    for (QPushButton* button : {nextButton, prevButton, deleteButton, editButton}) {
        button->setVisible(state.navigationShown);
    }
    deleteButton->setEnabled(state.deleteEnabled);
    const bool review = state.mode == EventDialogState::Mode::Review;
    UseReviewKeys(state.visible && review && !state.annotationEditable);
    if (state.visible && !isVisible()) {
        show();
        if (state.annotationEditable) annotationEdit->setFocus();
    } else if (!state.visible && isVisible()) {
        hide();
    }
    if (state.visible && state.annotationEditable) annotationEdit->setFocus();
    filling = false;
}

void CAnnotation::UseReviewKeys(bool on) {
    if (on == reviewKeys) return;
    reviewKeys = on;
    if (on) {
        addActions(reviewActions);
    } else {
        for (QAction* action : reviewActions) removeAction(action);
    }
}

void CAnnotation::Accept() {
    doc.AcceptEvent(annotationEdit->toPlainText().toStdString());
}

void CAnnotation::reject() {
    // Escape and the close button are Cancel; the document hides the window.
    if (!filling) doc.CancelEvent();
}
