#pragma once
// The 260 kHz waterfall: image slot 1, head 1's gain and frequency; it publishes its scroll
// offset to the document while it is dragged.

#include "ui/imaging/CSSView.h"

class CSonarMView : public CSSView {
    Q_OBJECT
public:
    explicit CSonarMView(CVantrelDoc& doc, QWidget* parent = nullptr)
        : CSSView(doc, 1, true, parent) {}
};
