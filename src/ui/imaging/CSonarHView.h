#pragma once
// The 540 kHz waterfall: image slot 2, head 2's gain and frequency.

#include "ui/imaging/CSSView.h"

class CSonarHView : public CSSView {
    Q_OBJECT
public:
    explicit CSonarHView(CVantrelDoc& doc, QWidget* parent = nullptr)
        : CSSView(doc, 2, false, parent) {}
};
