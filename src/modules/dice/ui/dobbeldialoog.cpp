#include "modules/dice/ui/dobbeldialoog.h"

#include "common/ui/help.h"
#include "common/ui/moduledialog.h"
#include "common/ui/numberfields.h"

#include "common/numparse.h"
#include "common/ui/dialogservice.h"
#include "common/ui/modulewindow.h"
#include "modules/dice/ui/dobbelunit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace tarvik::dice::ui {

using tarvik::ui::MsgKind;

// --- TThrowsEdit ------------------------------------------------------------------

TThrowsEdit::TThrowsEdit(QWidget* parent) : QSpinBox(parent) {
    // Wide enough that every wrong number can be typed and then reported.
    setRange(-99999999, 999999999);
    setValue(1000);
    setToolTip(QStringLiteral("Min 10 ; Max 100000"));
}

QValidator::State TThrowsEdit::validate(QString& input, int& pos) const {
    // An empty field (or a lone sign) stands for 0, which the dialog refuses
    // with its message, rather than silently going back to the last number.
    const QString t = input.trimmed();
    if (t.isEmpty() || t == QLatin1String("-") || t == QLatin1String("+")) return QValidator::Acceptable;
    return QSpinBox::validate(input, pos);
}

int TThrowsEdit::valueFromText(const QString& text) const {
    const auto v = TryStrToInt(text.toStdString());
    if (!v) return 0;
    return static_cast<int>(std::clamp<long long>(*v, minimum(), maximum()));
}

// --- TDobbelDlg -------------------------------------------------------------------

TDobbelDlg::TDobbelDlg(TDobbel* owner) : QDialog(owner), owner_(owner) {
    tarvik::ui::SetHelpContext(this, 2);
    setObjectName(QStringLiteral("DobbelDlg"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Settings"));

    auto* main = new QVBoxLayout(this);

    // What to throw.
    auto* keuzeFrame = new QGroupBox(this);
    auto* keuzeLayout = new QGridLayout(keuzeFrame);
    keuzeGroup_ = new QButtonGroup(this);
    const char* const keuzeTexts[4] = {"Fair coin", "Biased coin", "Fair die", "Biased die"};
    const char* const keuzeNames[4] = {"FairCoinBtn", "BiasedCoinBtn", "FairDieBtn", "BiasedDieBtn"};
    for (int i = 0; i < 4; ++i) {
        KeuzeBtn[i] = new QRadioButton(QString::fromLatin1(keuzeTexts[i]), keuzeFrame);
        KeuzeBtn[i]->setObjectName(QString::fromLatin1(keuzeNames[i]));
        keuzeGroup_->addButton(KeuzeBtn[i], i);
        keuzeLayout->addWidget(KeuzeBtn[i], i / 2, i % 2);
    }
    main->addWidget(keuzeFrame);

    auto* middle = new QHBoxLayout;
    QGroupBox* settingsBox =
        tarvik::ui::ChoiceColumn<QCheckBox>(this, QStringLiteral("Settings"), QStringLiteral("SettingsGroup"),
                                            {{&FastBox, "Fast simulation", "FastBox"},
                                             {&TableBox, "Table relative frequency", "TableBox"},
                                             {&WalkBox, "Random walk", "WalkBox"}});
    for (QCheckBox* box : {FastBox, TableBox, WalkBox}) box->setChecked(true);
    middle->addWidget(settingsBox);

    auto* throwsBox = new QGroupBox(QStringLiteral("# throws"), this);
    throwsBox->setObjectName(QStringLiteral("ThrowsGroup"));
    auto* throwsLayout = new QVBoxLayout(throwsBox);
    throwsLayout->addWidget(new QLabel(QStringLiteral("Number of throws"), throwsBox));
    ThrowsEdit = new TThrowsEdit(throwsBox);
    ThrowsEdit->setObjectName(QStringLiteral("ThrowsEdit"));
    throwsLayout->addWidget(ThrowsEdit);
    throwsLayout->addWidget(new QLabel(QStringLiteral("10 <= Number<= 100000"), throwsBox));
    middle->addWidget(throwsBox);
    main->addLayout(middle);

    auto* probBox = new QGroupBox(QStringLiteral("Probabilities"), this);
    probBox->setObjectName(QStringLiteral("ProbabilitiesGroup"));
    auto* probLayout = new QGridLayout(probBox);
    tarvik::ui::AddProbabilityFields(probLayout, probBox, PEdit);
    for (QLineEdit* field : PEdit) {
        field->installEventFilter(this);
        tarvik::ui::KeepUnsignedReal(field);
    }
    probLayout->addWidget(new QLabel(QStringLiteral("P(X=1) between 0.1 and 0.9"), probBox), 3, 0, 1, 4);
    main->addWidget(probBox);

    const tarvik::ui::DialogButtons buttons =
        tarvik::ui::AddDialogButtons(this, main, QStringLiteral("Throw"));
    OKBtn = buttons.ok;
    TerugBtn = buttons.back;

    connect(OKBtn, &QPushButton::clicked, this, &TDobbelDlg::OKBtnClick);
    connect(TerugBtn, &QPushButton::clicked, this, &TDobbelDlg::TerugBtnClick);
    connect(keuzeGroup_, &QButtonGroup::idClicked, this,
            [this](int id) { KeuzeClick(static_cast<Choice>(id)); });

    setChoice(Choice::FairCoin);
    setFixedSize(sizeHint());
}

Choice TDobbelDlg::choice() const {
    const int id = keuzeGroup_->checkedId();
    return id < 0 ? Choice::FairCoin : static_cast<Choice>(id);
}

void TDobbelDlg::setChoice(Choice choice) {
    KeuzeBtn[static_cast<int>(choice)]->setChecked(true);
    KeuzeClick(choice);
}

void TDobbelDlg::KeuzeClick(Choice choice) {
    const auto fields = FieldsFor(choice);
    for (int j = 0; j < kFaces; ++j) {
        PEdit[j]->setText(QString::fromLatin1(fields[j].text));
        PEdit[j]->setReadOnly(!fields[j].editable);
        PEdit[j]->setEnabled(fields[j].enabled);
    }
}

void TDobbelDlg::OKBtnClick() {
    if (owner_->running() || owner_->isClosing()) return;

    const ThrowsCheck throws = CheckThrows(ThrowsEdit->text().toStdString());
    if (throws.error != SettingsError::None) {
        MsgDlg(QString::fromLatin1(SettingsMessage(throws.error).data()), MsgKind::Error, tarvik::ui::mbOK,
               0);
        ThrowsEdit->selectAll();
        ThrowsEdit->setFocus();
        return;
    }

    std::array<std::string, kFaces> texts;
    for (int j = 0; j < kFaces; ++j) texts[j] = PEdit[j]->text().toStdString();
    const ProbabilityCheck probs = CheckProbabilities(choice(), texts);
    if (probs.error != SettingsError::None) {
        StdMsgDlg(QString::fromLatin1(SettingsMessage(probs.error).data()), MsgKind::Error, tarvik::ui::mbOK,
                  0);
        owner_->SettingsRefused();
        return;
    }
    owner_->SettingsAccepted(choice(), throws.throws, probs.p, FastBox->isChecked(), TableBox->isChecked(),
                             WalkBox->isChecked());
}

void TDobbelDlg::TerugBtnClick() {
    if (!owner_->isClosing()) owner_->closeModule();
}

bool TDobbelDlg::eventFilter(QObject* watched, QEvent* event) {
    // The probability field with the focus is yellow.
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (auto* field = qobject_cast<QLineEdit*>(watched)) {
            QPalette pal = field->palette();
            if (event->type() == QEvent::FocusIn)
                pal.setColor(QPalette::Base, Qt::yellow);
            else
                pal.setColor(QPalette::Base, palette().color(QPalette::Base));
            field->setPalette(pal);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TDobbelDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!centred_) {
        centred_ = true;
        if (QScreen* s = screen()) {
            const QRect area = s->availableGeometry();
            move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
        }
    }
}

void TDobbelDlg::closeEvent(QCloseEvent* event) {
    // Closing the dialog by its frame closes the whole module.
    event->accept();
    if (!owner_->isClosing()) owner_->closeModule();
}

void TDobbelDlg::keyPressEvent(QKeyEvent* event) {
    // The dialog has no cancel button: Escape does nothing.
    if (!tarvik::ui::SwallowEscape(event)) QDialog::keyPressEvent(event);
}

void TDobbelDlg::reject() {
    // Only reached through the frame (Escape is kept away): close the module.
    if (!owner_->isClosing()) owner_->closeModule();
}

} // namespace tarvik::dice::ui
