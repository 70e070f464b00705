#include "ui/dialogs/CSettingsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/common/MessageBox.h"

namespace tw::ui {

SettingsChoices choicesFromSettings(const CountSettings& settings) {
    SettingsChoices choices;
    switch (settings.mode) {
        case CountMode::Physical:
            choices.physical = true;
            break;
        case CountMode::TerminatingCharacters:
            choices.logical = true;
            choices.terminatingCharacters = true;
            break;
        case CountMode::Executable:
            choices.logical = true;
            choices.executableStatements = true;
            break;
        case CountMode::CyclomaticComplexity:
            choices.logical = true;
            choices.cyclomaticComplexity = true;
            break;
    }
    choices.allCapsFunctionsAsMacros = settings.allCapsFunctionsAsMacros;
    choices.macrosAsStatements = settings.macrosAsStatements;
    choices.logicAsSingleStatement = settings.logicAsSingleStatement;
    return choices;
}

CountSettings settingsFromChoices(const SettingsChoices& choices, const CountSettings& previous) {
    CountSettings settings = previous;
    if (!choices.logical) {
        settings.mode = CountMode::Physical;
    } else if (choices.terminatingCharacters) {
        settings.mode = CountMode::TerminatingCharacters;
    } else if (choices.executableStatements) {
        settings.mode = CountMode::Executable;
    } else if (choices.cyclomaticComplexity) {
        settings.mode = CountMode::CyclomaticComplexity;
    }
    settings.allCapsFunctionsAsMacros = choices.allCapsFunctionsAsMacros;
    settings.macrosAsStatements = choices.macrosAsStatements;
    settings.logicAsSingleStatement = choices.logicAsSingleStatement;
    return settings;
}

SettingsEnabling settingsEnabling(const SettingsChoices& choices) {
    SettingsEnabling enabling;
    enabling.subModes = choices.logical;
    enabling.executableOptions = choices.logical && choices.executableStatements;
    enabling.macrosAsStatements = enabling.executableOptions && choices.allCapsFunctionsAsMacros;
    return enabling;
}

namespace {

QRadioButton* makeRadio(const QString& text, const QString& objectName, QWidget* parent) {
    auto* radio = new QRadioButton(text, parent);
    radio->setObjectName(objectName);
    // The dialog sets every mark itself; "Logical" and its sub-modes share a group box but
    // are not one exclusive choice.
    radio->setAutoExclusive(false);
    return radio;
}

QCheckBox* makeCheck(const QString& text, const QString& objectName, QWidget* parent) {
    auto* check = new QCheckBox(text, parent);
    check->setObjectName(objectName);
    return check;
}

QLabel* makeDescription(const QString& text, const QString& objectName, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

CSettingsDialog::CSettingsDialog(QWidget* parent) : CSettingsDialog(countSettings(), parent) {}

CSettingsDialog::CSettingsDialog(CountSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings), opened_(settings) {
    setObjectName(QStringLiteral("settingsDialog"));
    setWindowTitle(QStringLiteral("Tallyweaver Project Settings"));

    auto* physicalGroup = new QGroupBox(this);
    physicalRadio_ =
        makeRadio(QStringLiteral("Physical"), QStringLiteral("physicalRadio"), physicalGroup);
    auto* physicalText = makeDescription(
        QStringLiteral(
            "Lines are counted as they appear in the file.  The count will include statement, "
            "comment, mixed, and blank lines.  The count is very senstive to coding style, "
            "since any line may contain a combination of several executable statements and "
            "still be considered a single line of code."),
        QStringLiteral("physicalDescription"), physicalGroup);
    auto* physicalLayout = new QVBoxLayout(physicalGroup);
    physicalLayout->addWidget(physicalRadio_);
    physicalLayout->addWidget(physicalText);
    physicalLayout->addStretch();

    auto* logicalGroup = new QGroupBox(this);
    logicalRadio_ =
        makeRadio(QStringLiteral("Logical"), QStringLiteral("logicalRadio"), logicalGroup);
    auto* logicalText = makeDescription(
        QStringLiteral("Statements and comments are counted.  You may edit your preferences "
                       "below to determine what is considered a statement by Tallyweaver."),
        QStringLiteral("logicalDescription"), logicalGroup);
    auto* usingLabel = new QLabel(QStringLiteral("Count code using:"), logicalGroup);
    terminatingRadio_ = makeRadio(QStringLiteral("Terminating Characters"),
                                  QStringLiteral("terminatingRadio"), logicalGroup);
    executableRadio_ = makeRadio(QStringLiteral("Executable Statements"),
                                 QStringLiteral("executableRadio"), logicalGroup);
    complexityRadio_ = makeRadio(QStringLiteral("Cyclomatic Complexity"),
                                 QStringLiteral("complexityRadio"), logicalGroup);
    allCapsCheck_ = makeCheck(QStringLiteral("Treat all-caps C/C++ functions as macros"),
                              QStringLiteral("allCapsCheck"), logicalGroup);
    macrosCheck_ = makeCheck(QStringLiteral("Treat macros as statements"),
                             QStringLiteral("macrosCheck"), logicalGroup);
    logicCheck_ = makeCheck(QStringLiteral("Always treat logic as a single statement"),
                            QStringLiteral("logicCheck"), logicalGroup);

    // The options belong to the executable statements, and the macro option to the all-caps
    // one; indenting them shows it.
    const int step = style()->pixelMetric(QStyle::PM_IndicatorWidth) + 6;
    auto* logicalLayout = new QGridLayout(logicalGroup);
    logicalLayout->setColumnMinimumWidth(0, step);
    logicalLayout->setColumnMinimumWidth(1, step);
    logicalLayout->setColumnMinimumWidth(2, step);
    logicalLayout->setColumnStretch(3, 1);
    logicalLayout->addWidget(logicalRadio_, 0, 0, 1, 4);
    logicalLayout->addWidget(logicalText, 1, 0, 1, 4);
    logicalLayout->addWidget(usingLabel, 2, 0, 1, 4);
    logicalLayout->addWidget(terminatingRadio_, 3, 1, 1, 3);
    logicalLayout->addWidget(executableRadio_, 4, 1, 1, 3);
    logicalLayout->addWidget(allCapsCheck_, 5, 2, 1, 2);
    logicalLayout->addWidget(macrosCheck_, 6, 3, 1, 1);
    logicalLayout->addWidget(logicCheck_, 7, 2, 1, 2);
    logicalLayout->addWidget(complexityRadio_, 8, 1, 1, 3);
    logicalLayout->setRowStretch(9, 1);

    auto* groups = new QHBoxLayout;
    groups->addWidget(physicalGroup, 1);
    groups->addWidget(logicalGroup, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("SLOC Count Mode:"), this));
    layout->addLayout(groups, 1);
    layout->addWidget(buttons);

    connect(physicalRadio_, &QRadioButton::clicked, this, [this] {
        SettingsChoices c = choices();
        c.physical = true;
        c.logical = false;
        showChoices(c);
    });
    connect(logicalRadio_, &QRadioButton::clicked, this, [this] {
        SettingsChoices c = choices();
        c.physical = false;
        c.logical = true;
        c.terminatingCharacters = true;
        c.executableStatements = false;
        c.cyclomaticComplexity = false;
        showChoices(c);
    });
    // The three sub-modes exclude one another.
    const auto chooseSubMode = [this](bool terminating, bool executable, bool complexity) {
        SettingsChoices c = choices();
        c.terminatingCharacters = terminating;
        c.executableStatements = executable;
        c.cyclomaticComplexity = complexity;
        showChoices(c);
    };
    connect(terminatingRadio_, &QRadioButton::clicked, this,
            [chooseSubMode] { chooseSubMode(true, false, false); });
    connect(executableRadio_, &QRadioButton::clicked, this,
            [chooseSubMode] { chooseSubMode(false, true, false); });
    connect(complexityRadio_, &QRadioButton::clicked, this,
            [chooseSubMode] { chooseSubMode(false, false, true); });
    for (QCheckBox* check : {allCapsCheck_, macrosCheck_, logicCheck_}) {
        connect(check, &QCheckBox::toggled, this, &CSettingsDialog::updateEnabling);
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &CSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSettingsDialog::reject);

    showChoices(choicesFromSettings(opened_));
    physicalText->setMinimumWidth(220);
    logicalText->setMinimumWidth(220);
    resize(sizeHint().expandedTo(QSize(560, 0)));
}

SettingsChoices CSettingsDialog::choices() const {
    SettingsChoices c;
    c.physical = physicalRadio_->isChecked();
    c.logical = logicalRadio_->isChecked();
    c.terminatingCharacters = terminatingRadio_->isChecked();
    c.executableStatements = executableRadio_->isChecked();
    c.cyclomaticComplexity = complexityRadio_->isChecked();
    c.allCapsFunctionsAsMacros = allCapsCheck_->isChecked();
    c.macrosAsStatements = macrosCheck_->isChecked();
    c.logicAsSingleStatement = logicCheck_->isChecked();
    return c;
}

void CSettingsDialog::showChoices(const SettingsChoices& c) {
    physicalRadio_->setChecked(c.physical);
    logicalRadio_->setChecked(c.logical);
    terminatingRadio_->setChecked(c.terminatingCharacters);
    executableRadio_->setChecked(c.executableStatements);
    complexityRadio_->setChecked(c.cyclomaticComplexity);
    allCapsCheck_->setChecked(c.allCapsFunctionsAsMacros);
    macrosCheck_->setChecked(c.macrosAsStatements);
    logicCheck_->setChecked(c.logicAsSingleStatement);
    updateEnabling();
}

void CSettingsDialog::updateEnabling() {
    const SettingsEnabling enabling = settingsEnabling(choices());
    terminatingRadio_->setEnabled(enabling.subModes);
    executableRadio_->setEnabled(enabling.subModes);
    complexityRadio_->setEnabled(enabling.subModes);
    allCapsCheck_->setEnabled(enabling.executableOptions);
    logicCheck_->setEnabled(enabling.executableOptions);
    macrosCheck_->setEnabled(enabling.macrosAsStatements);
}

void CSettingsDialog::accept() {
    const CountSettings chosen = settingsFromChoices(choices(), settings_);
    const bool changing = !(chosen == opened_);
    // Counts made under the old settings go with them, and a large project takes long to count
    // again.
    if (changing && countsToDiscard_ &&
        MessageBox::show(this,
                         QStringLiteral("Change how files are counted and reset the counts of "
                                        "all files?\nThe next Count counts every file again."),
                         QString(), QMessageBox::Yes | QMessageBox::No,
                         QMessageBox::Question) != QMessageBox::Yes) {
        return;
    }
    changed_ = changing;
    settings_ = chosen;
    QDialog::accept();
}

}  // namespace tw::ui
