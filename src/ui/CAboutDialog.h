#pragma once

#include <QDialog>
#include <QImage>

class QPushButton;

namespace tw::ui {

/// The About box: the program's picture with its name and version written over it, and OK.
class CAboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDialog(QWidget* parent = nullptr);

    QPushButton& okButton() { return *okButton_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
    QPushButton* okButton_;
};

}  // namespace tw::ui
