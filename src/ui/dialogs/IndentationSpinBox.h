#pragma once

#include <QSpinBox>

namespace tw::ui {

/// The indentation field of the Generate Report dialog: digits are typed freely (up to the
/// largest indentation a report uses), while the up and down arrows move only between 0 and
/// 12. An empty field stands for 0.
class IndentationSpinBox : public QSpinBox {
    Q_OBJECT

  public:
    static constexpr int kLargestStep = 12;

    explicit IndentationSpinBox(QWidget* parent = nullptr);

    /// The number the field shows now, 0 when it is empty.
    int typedValue() const;

    void stepBy(int steps) override;

  signals:
    /// The text of the field changed, by typing or by the arrows; unlike `textChanged` also
    /// when the field became empty.
    void typedTextChanged();

  protected:
    StepEnabled stepEnabled() const override;

  private:
    void noteText();

    QString reportedText_;
};

}  // namespace tw::ui
