#pragma once

#include <QDialog>

#include "engine/CountSettings.h"

class QCheckBox;
class QLabel;
class QRadioButton;

namespace tw::ui {

/// The check marks of the Project Settings dialog.
struct SettingsChoices {
    bool physical = false;
    bool logical = false;
    bool terminatingCharacters = false;
    bool executableStatements = false;
    bool cyclomaticComplexity = false;
    bool allCapsFunctionsAsMacros = false;
    bool macrosAsStatements = false;
    bool logicAsSingleStatement = false;
};

/// The check marks that show `settings`; cyclomatic complexity is the third logical sub-mode.
SettingsChoices choicesFromSettings(const CountSettings& settings);

/// The settings that `choices` stand for. With "Logical" checked but neither sub-mode, the
/// mode of `previous` stays.
CountSettings settingsFromChoices(const SettingsChoices& choices, const CountSettings& previous);

/// Which controls may be used with `choices` checked. Disabled check boxes keep their marks.
struct SettingsEnabling {
    bool subModes = false;           ///< the three logical sub-modes
    bool executableOptions = false;  ///< all-caps functions, logic as a single statement
    bool macrosAsStatements = false;
};
SettingsEnabling settingsEnabling(const SettingsChoices& choices);

/// The Project Settings dialog over a project's count settings (the process-wide
/// `countSettings()` unless given others): it shows them when constructed and writes them on
/// OK.
///
///     CSettingsDialog dialog(document.settings(), parent);
///     if (dialog.exec() == QDialog::Accepted && dialog.settingsChanged()) resetCounts();
class CSettingsDialog : public QDialog {
    Q_OBJECT

  public:
    explicit CSettingsDialog(QWidget* parent = nullptr);
    /// Over `settings`, which must outlive the dialog.
    explicit CSettingsDialog(CountSettings& settings, QWidget* parent = nullptr);

    /// OK wrote settings that differ from those the dialog opened with.
    bool settingsChanged() const { return changed_; }

    /// The project holds counts that changed settings discard: OK on changed settings then asks
    /// before it writes them, and No leaves the dialog open.
    void setCountsToDiscard(bool countsToDiscard) { countsToDiscard_ = countsToDiscard; }

    /// Writes the settings from the controls and closes with OK.
    void accept() override;

  private:
    SettingsChoices choices() const;
    void showChoices(const SettingsChoices& choices);
    void updateEnabling();

    QRadioButton* physicalRadio_ = nullptr;
    QRadioButton* logicalRadio_ = nullptr;
    QRadioButton* terminatingRadio_ = nullptr;
    QRadioButton* executableRadio_ = nullptr;
    QRadioButton* complexityRadio_ = nullptr;
    QCheckBox* allCapsCheck_ = nullptr;
    QCheckBox* macrosCheck_ = nullptr;
    QCheckBox* logicCheck_ = nullptr;
    CountSettings& settings_;
    CountSettings opened_;
    bool changed_ = false;
    bool countsToDiscard_ = false;
};

}  // namespace tw::ui
