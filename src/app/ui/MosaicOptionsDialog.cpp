#include "app/ui/MosaicOptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSpinBox>

namespace {

// The head box: the file's first side-scan head, or one of the three.
constexpr const char* kHeadTexts[] = {"First side-scan head of the file", "120 kHz (L)",
                                      "260 kHz (M)", "540 kHz (H)"};
// The overlap box, in the order of svx::MosaicOverlap.
constexpr const char* kOverlapTexts[] = {"Nearest its own track", "Largest value",
                                         "Latest recording"};
constexpr int kMostThreads = 64;

QDoubleSpinBox* MetresBox(double low, double high, double value, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(low, high);
    box->setDecimals(2);
    box->setSuffix(QStringLiteral(" m"));
    box->setValue(value);
    return box;
}

}  // namespace

MosaicOptionsDialog::MosaicOptionsDialog(const svx::MosaicOptions& proposed, QWidget* parent,
                                         bool several)
    : QDialog(parent), base(proposed) {
    setWindowTitle(QStringLiteral("Mosaic Options"));
    head = new QComboBox(this);
    for (const char* text : kHeadTexts) head->addItem(QString::fromLatin1(text));
    head->setCurrentIndex(proposed.head ? *proposed.head + 1 : 0);
    resolution = MetresBox(0.0, 1000.0, proposed.resolutionM.value_or(0.0), this);
    resolution->setSpecialValueText(QStringLiteral("Automatic (range / 500)"));
    layback = MetresBox(0.0, 10000.0, proposed.laybackM, this);
    slant = new QCheckBox(QStringLiteral("Slant-range correction"), this);
    slant->setChecked(proposed.slantCorrection);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Head:"), head);
    form->addRow(QStringLiteral("Pixel size:"), resolution);
    form->addRow(QStringLiteral("Layback:"), layback);
    form->addRow(slant);
    if (several) {
        overlap = new QComboBox(this);
        for (const char* text : kOverlapTexts) overlap->addItem(QString::fromLatin1(text));
        overlap->setCurrentIndex(static_cast<int>(proposed.overlap));
        threads = new QSpinBox(this);
        threads->setRange(0, kMostThreads);
        threads->setSpecialValueText(QStringLiteral("One per core"));
        threads->setValue(proposed.threads);
        normalize = new QCheckBox(QStringLiteral("Normalize across track"), this);
        normalize->setChecked(proposed.normalize.value_or(true));  // unset: on for several
        form->addRow(QStringLiteral("Where lines overlap:"), overlap);
        form->addRow(QStringLiteral("Threads:"), threads);
        form->addRow(normalize);
    }
    form->addRow(buttons);
}

svx::MosaicOptions MosaicOptionsDialog::Options() const {
    svx::MosaicOptions options = base;
    const int index = head->currentIndex();
    options.head = index > 0 ? std::optional<int>(index - 1) : std::nullopt;
    const double metres = resolution->value();
    options.resolutionM = metres > 0.0 ? std::optional<double>(metres) : std::nullopt;
    options.laybackM = layback->value();
    options.slantCorrection = slant->isChecked();
    if (overlap) options.overlap = static_cast<svx::MosaicOverlap>(overlap->currentIndex());
    if (threads) options.threads = threads->value();
    if (normalize) options.normalize = normalize->isChecked();
    return options;
}
