#pragma once
// The 120 kHz waterfall: image slot 0, head 0's gain and frequency; it publishes its scroll
// offset to the document while it is dragged.

#include "ui/imaging/CSSView.h"

class CSonarLView : public CSSView {
    Q_OBJECT
public:
    explicit CSonarLView(CVantrelDoc& doc, QWidget* parent = nullptr)
        : CSSView(doc, 0, true, parent) {}
};
