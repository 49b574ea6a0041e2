// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile/ui/ProfileForm.h"

#include "app/ui/Application.h"
#include "base/Errors.h"
#include "base/TextCase.h"
#include "base/Translate.h"
#include "base/ui/MessageBoxes.h"
#include "base/ui/QtBridge.h"
#include "layout/KeyboardLayoutAgent.h"
#include "profile/ui/ProfileWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <exception>

namespace {

// The empty text stays empty: the catalogue keeps its header under it.
QString Tr(const char* text)
{
    return *text ? QString::fromUtf8(_(text)) : QString();
}

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* NewLabel(QWidget* parent, const char* name, const char* text, QRect where)
{
    auto* label = Named(new QLabel(Tr(text), parent), name);
    label->setGeometry(where);
    return label;
}

QPushButton* NewButton(QWidget* parent, const char* name, const char* text, QRect where)
{
    auto* button = Named(new QPushButton(Tr(text), parent), name);
    button->setGeometry(where);
    return button;
}

QCheckBox* NewCheck(QWidget* parent, const char* name, const char* text, int row)
{
    auto* check = Named(new QCheckBox(Tr(text), parent), name);
    check->setGeometry(10, 8 + row * 28, 355, 24);
    return check;
}

void SetTextColor(QWidget* widget, const QColor& color)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, color);
    widget->setPalette(p);
}

} // namespace

TProfileFm::TProfileFm(const TCodePage& codePage, QWidget* parent)
    : QDialog(parent), codePage_(codePage)
{
    setObjectName(QStringLiteral("ProfileFm"));
    setWindowTitle(Tr(N_("Profile")));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(395, 419);
    setFont(QFont(QStringLiteral("Arial"), 11));

    Label1 = NewLabel(this, "Label1", N_("User:"), {8, 10, 100, 22});
    UserEd = Named(new QComboBox(this), "UserEd");
    UserEd->setEditable(true);
    UserEd->setGeometry(112, 8, 275, 26);
    QPalette yellow = UserEd->palette();
    yellow.setColor(QPalette::Base, Qt::yellow);
    UserEd->setPalette(yellow);

    Label2 = NewLabel(this, "Label2", N_("Course:"), {8, 40, 100, 22});
    CourseEd = Named(new QComboBox(this), "CourseEd");
    CourseEd->setEditable(true);
    CourseEd->setGeometry(112, 38, 275, 26);

    Label8 = NewLabel(this, "Label8", N_("Progress:"), {8, 68, 100, 22});
    ProgressLb = NewLabel(this, "ProgressLb", "", {112, 68, 275, 22});
    ProgressLb->setFont(QFont(QStringLiteral("Arial"), 10));
    SetTextColor(ProgressLb, Qt::blue);
    Label9 = NewLabel(this, "Label9", N_("Practice time:"), {8, 92, 100, 22});
    TimeLb = NewLabel(this, "TimeLb", "", {112, 92, 275, 22});
    SetTextColor(TimeLb, Qt::blue);

    PageControl2 = Named(new QTabWidget(this), "PageControl2");
    PageControl2->setGeometry(8, 120, 379, 252);

    TabSheet4 = Named(new QWidget, "TabSheet4");
    SetFontBn = NewButton(TabSheet4, "SetFontBn", N_("Line"), {10, 10, 100, 28});
    ExampleEd = Named(new TFontSample(codePage_, TabSheet4), "ExampleEd");
    ExampleEd->setGeometry(120, 10, 245, 28);
    Button1 = NewButton(TabSheet4, "Button1", N_("Paragraph"), {10, 46, 100, 28});
    Example2Ed = Named(new TFontSample(codePage_, TabSheet4), "Example2Ed");
    Example2Ed->setGeometry(120, 46, 245, 28);
    Button3 = NewButton(TabSheet4, "Button3", N_("Game"), {10, 82, 100, 28});
    Example3Ed = Named(new TFontSample(codePage_, TabSheet4), "Example3Ed");
    Example3Ed->setGeometry(120, 82, 245, 28);
    Label3 = NewLabel(TabSheet4, "Label3", N_("Background color:"), {10, 128, 150, 22});
    EdColor = Named(new TColorPicker(false, TabSheet4), "EdColor");
    EdColor->setGeometry(165, 126, 200, 26);
    Label4 = NewLabel(TabSheet4, "Label4", N_("Game BG color:"), {10, 164, 150, 22});
    ColorEd = Named(new TColorPicker(true, TabSheet4), "ColorEd");
    ColorEd->setGeometry(165, 162, 200, 26);
    PageControl2->addTab(TabSheet4, Tr(N_("Layout")));

    TabSheet5 = Named(new QWidget, "TabSheet5");
    ChkFunSpeed = NewCheck(TabSheet5, "ChkFunSpeed", N_("Different speeds enabled"), 0);
    ChkFunSpeed->setToolTip(Tr(N_("Enable the word fall at different speeds in the game")));
    HighlightEd = NewCheck(TabSheet5, "HighlightEd", N_("Highlight the letter to be typed"), 1);
    BlinkingEd = NewCheck(TabSheet5, "BlinkingEd", N_("Blink the on-screen key and finger"), 2);
    ChkFullScreen = NewCheck(TabSheet5, "ChkFullScreen", N_("Full screen"), 3);
    ChkDrillSoundEnabled = NewCheck(TabSheet5, "ChkDrillSoundEnabled", N_("Enable drill sound"), 4);
    ChkGameSoundEnabled = NewCheck(TabSheet5, "ChkGameSoundEnabled", N_("Enable Game Sound"), 5);
    ChkPopupAtEnd =
        NewCheck(TabSheet5, "ChkPopupAtEnd", N_("Popup statistic at the end of a drill"), 6);
    PageControl2->addTab(TabSheet5, Tr(N_("Misc")));

    TntTabSheet1 = Named(new QWidget, "TntTabSheet1");
    Label5 = NewLabel(TntTabSheet1, "Label5", N_("Available keyboard layouts"), {10, 6, 355, 22});
    KeyboardsCombo = Named(new QComboBox(TntTabSheet1), "KeyboardsCombo");
    KeyboardsCombo->setGeometry(10, 28, 355, 26);
    InfoMemo = Named(new QPlainTextEdit(TntTabSheet1), "InfoMemo");
    InfoMemo->setGeometry(10, 60, 355, 104);
    InfoMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    InfoMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    InfoMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Label6 = NewLabel(TntTabSheet1, "Label6", N_("Keyboard layout before starting:"),
                      {10, 166, 355, 22});
    OriginalKeyboardNameLb =
        NewLabel(TntTabSheet1, "OriginalKeyboardNameLb", "", {10, 190, 200, 22});
    SetTextColor(OriginalKeyboardNameLb, QColor(0, 0, 128));
    BnApplyKb = NewButton(TntTabSheet1, "BnApplyKb", N_("Activate layout"), {215, 188, 150, 28});
    PageControl2->addTab(TntTabSheet1, Tr(N_("Keyboard")));
    PageControl2->setCurrentIndex(0);

    OkBn = NewButton(this, "OkBn", N_("&Save"), {63, 382, 100, 30});
    OkBn->setToolTip(Tr(N_("Save user profile, or add user profile if the user name is different "
                           "from current user.")));
    BnApply = NewButton(this, "BnApply", N_("&Apply"), {173, 382, 100, 30});
    BnApply->setToolTip(Tr(N_("Apply user profile, and close. The user profile will be saved when "
                              "exiting the program.")));
    CancelBn = NewButton(this, "CancelBn", N_("&Close"), {283, 382, 100, 30});

    // A handler's error goes to the general error report from here, not by
    // unwinding through the toolkit's event handling.
    const auto bind = [this](QPushButton* button, void (TProfileFm::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] {
            try {
                (this->*handler)();
            } catch (const std::exception& error) {
                TApplication::ShowException(error);
            }
        });
    };
    bind(OkBn, &TProfileFm::OkBnClick);
    bind(BnApply, &TProfileFm::BnApplyClick);
    bind(CancelBn, &TProfileFm::CancelBnClick);
    bind(BnApplyKb, &TProfileFm::BnApplyKbClick);
    bind(SetFontBn, &TProfileFm::SetFontBnClick);
    bind(Button1, &TProfileFm::Button1Click);
    bind(Button3, &TProfileFm::Button3Click);
}

QString TProfileFm::Text(const std::string& bytes) const
{
    return ToQString(bytes, codePage_);
}

std::string TProfileFm::Bytes(const QString& text) const
{
    return FromQString(text, codePage_);
}

void TProfileFm::SetCourses(const std::vector<std::string>& courses)
{
    CourseEd->clear();
    for (const auto& course : courses)
        CourseEd->addItem(Text(course));
}

int TProfileFm::ShowForProfile(TProfile* profile)
{
    Profile = profile;
    UserEd->setEditText(Text(profile->UserName));
    FillControls(*profile);
    QPalette p = Example3Ed->palette();
    p.setColor(QPalette::Base, ToQColor(ColorEd->Color()));
    Example3Ed->setPalette(p);

    QStringList info;
    for (const auto& line : Agent->InfoLines())
        info << QString::fromUtf8(line);
    InfoMemo->setPlainText(info.join(QLatin1Char('\n')));
    KeyboardsCombo->clear();
    for (const auto& name : Agent->AvailableNames())
        KeyboardsCombo->addItem(QString::fromUtf8(name));
    KeyboardsCombo->setCurrentIndex(Agent->IndexOfLayout(profile->KeyboardLayout));
    OriginalKeyboardNameLb->setText(QString::fromUtf8(Agent->OriginalLayoutName()));

    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    return exec();
}

int TProfileFm::ShowForNewUser(TProfile* profile)
{
    OkBn->hide();
    NewUser = true;
    return ShowForProfile(profile);
}

void TProfileFm::FillControls(const TProfile& profile)
{
    const TProfileFormValues v = FormValuesOf(profile);
    ChkFullScreen->setChecked(v.FullScreen);
    EdColor->SetColor(v.BgColor);
    ColorEd->SetColor(v.GameBgColor);
    ChkFunSpeed->setChecked(v.FunSpeed);
    CourseEd->setEditText(Text(v.Course));
    ProgressLb->setText(QString::number(profile.Progress));
    TimeLb->setText(QString::fromUtf8(PracticeTimeText(profile.TimeTotal)));
    ExampleEd->SetSampleFont(v.PracticeFont);
    Example2Ed->SetSampleFont(v.TextFont);
    Example3Ed->SetSampleFont(v.GameFont);
    HighlightEd->setChecked(v.HighLight);
    BlinkingEd->setChecked(v.Blinking);
    ChkGameSoundEnabled->setChecked(v.GameSoundEnabled);
    ChkDrillSoundEnabled->setChecked(v.DrillSoundEnabled);
    ChkPopupAtEnd->setChecked(v.PopupAtEnd);
    // Opening the dialog switches the desktop to the profile's layout, where
    // the desktop lets a program switch layouts at all.
    BnApplyKb->setEnabled(Agent->CanActivateLayouts());
    if (Agent->CanActivateLayouts() && !Agent->ActivateLayout(profile.KeyboardLayout))
        TMessageBoxes::Plain(this, Text(profile.KeyboardLayout) +
                                       Tr(N_(" layout could not be activated.")));
}

TProfileFormValues TProfileFm::ControlValues() const
{
    TProfileFormValues v;
    v.FullScreen = ChkFullScreen->isChecked();
    v.BgColor = EdColor->Color();
    v.GameBgColor = ColorEd->Color();
    v.FunSpeed = ChkFunSpeed->isChecked();
    v.Course = Bytes(CourseEd->currentText());
    v.PracticeFont = ExampleEd->SampleFont();
    v.TextFont = Example2Ed->SampleFont();
    v.GameFont = Example3Ed->SampleFont();
    v.HighLight = HighlightEd->isChecked();
    v.Blinking = BlinkingEd->isChecked();
    v.GameSoundEnabled = ChkGameSoundEnabled->isChecked();
    v.DrillSoundEnabled = ChkDrillSoundEnabled->isChecked();
    v.PopupAtEnd = ChkPopupAtEnd->isChecked();
    v.LayoutIndex = KeyboardsCombo->currentIndex();
    return v;
}

void TProfileFm::ReadControls(TProfile& profile, bool isNew)
{
    ReadFormValues(ControlValues(), *Agent, isNew, profile);
}

void TProfileFm::ChooseFont(TFontSample* sample)
{
    TFontColorDialog dialog(sample->SampleFont(), codePage_, this);
    if (dialog.exec() == QDialog::Accepted)
        sample->SetSampleFont(dialog.ChosenFont());
}

void TProfileFm::OkBnClick()
{
    const std::string name = Bytes(UserEd->currentText());
    if (SameText(name, Profile->UserName)) {
        ReadControls(*Profile, false);
        Profile->Save();
        return;
    }
    if (NamesAnotherUser(users_, Profile->UserName, name)) {
        const QByteArray shown = UserEd->currentText().toUtf8();
        TMessageBoxes::Plain(this, QString::fromUtf8(Format(
                                       _("The user %s already exists. Please choose another name."),
                                       shown.constData())));
        return;
    }
    if (!TMessageBoxes::Confirm(this, Tr(N_("Are you going to add a new user?"))))
        return;
    if (SaveAsNewUser(*Profile, ControlValues(), *Agent, name))
        TMessageBoxes::Information(
            this, Tr(N_("Please restart the program to load the profile of new user.")));
    else
        TMessageBoxes::Plain(this, Tr(N_("Save Profile fail.")));
}

void TProfileFm::BnApplyClick()
{
    ReadControls(*Profile, false);
    if (!NewUser) {
        accept();
        return;
    }
    const auto name = NewUserName(Bytes(UserEd->currentText()));
    if (!name) {
        TMessageBoxes::Plain(this, Tr(N_("Please define a user name.")));
        return;
    }
    Profile->UserName = *name;
    accept();
}

void TProfileFm::CancelBnClick()
{
    reject();
}

void TProfileFm::BnApplyKbClick()
{
    if (Agent->ActivateAvailable(KeyboardsCombo->currentIndex()))
        TMessageBoxes::Plain(this, Tr(N_("Selected layout is activated.")));
    else
        TMessageBoxes::Plain(this, Tr(N_("Selected layout could not be activated.")));
}
