#include "ui/dialogs/IndentationSpinBox.h"

#include <QLineEdit>

#include <algorithm>

#include "report/ReportWriter.h"

namespace tw::ui {

IndentationSpinBox::IndentationSpinBox(QWidget* parent) : QSpinBox(parent) {
    setRange(0, kMaxReportIndentation);
    setAccelerated(false);
    // Typing reaches the field's editor, while the arrows and setValue change it with the
    // editor's signals blocked; either way the change is reported once.
    connect(lineEdit(), &QLineEdit::textChanged, this, &IndentationSpinBox::noteText);
    connect(this, &QSpinBox::textChanged, this, &IndentationSpinBox::noteText);
    reportedText_ = text();
}

int IndentationSpinBox::typedValue() const {
    return cleanText().toInt();
}

void IndentationSpinBox::noteText() {
    const QString now = text();
    if (now != reportedText_) {
        reportedText_ = now;
        emit typedTextChanged();
    }
}

void IndentationSpinBox::stepBy(int steps) {
    setValue(std::clamp(std::clamp(typedValue(), 0, kLargestStep) + steps, 0, kLargestStep));
    selectAll();
}

QAbstractSpinBox::StepEnabled IndentationSpinBox::stepEnabled() const {
    if (isReadOnly() || !isEnabled()) {
        return StepNone;
    }
    const int value = typedValue();
    StepEnabled enabled = StepNone;
    if (value < kLargestStep) {
        enabled |= StepUpEnabled;
    }
    if (value > 0) {
        enabled |= StepDownEnabled;
    }
    return enabled;
}

}  // namespace tw::ui
