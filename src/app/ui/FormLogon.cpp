// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/FormLogon.h"

#include "app/GlobalVar.h"
#include "app/ui/Application.h"
#include "app/ui/StarterLocal.h"
#include "base/Translate.h"
#include "base/ui/MessageBoxes.h"
#include "base/ui/QtBridge.h"
#include "history/HistoryStore.h"
#include "profile/ProfileStore.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString Translated(const char* text)
{
    return QString::fromUtf8(_(text));
}

QFont ButtonFont()
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(15);
    return font;
}

// The four buttons stand in one row under the user box.
QPushButton* NewButton(const char* caption, const char* name, int left, QWidget* parent)
{
    auto* button = new QPushButton(Translated(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, 225, 70, 25);
    button->setFont(ButtonFont());
    return button;
}

} // namespace

TFmLogon::TFmLogon(QWidget* parent) : TAboutBox(parent)
{
    setObjectName(QStringLiteral("FmLogon"));

    Label1 = new QLabel(Translated(N_("Profile:")), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(16, 199);
    Label1->adjustSize();

    ComboUser = new QComboBox(this);
    ComboUser->setObjectName(QStringLiteral("ComboUser"));
    ComboUser->setEditable(true);
    // The list holds the store's users only; Enter logs on, it adds nothing.
    ComboUser->setInsertPolicy(QComboBox::NoInsert);
    ComboUser->setGeometry(56, 191, 289, 27);
    QFont comboFont(QStringLiteral("Times New Roman"));
    comboFont.setPixelSize(19);
    ComboUser->setFont(comboFont);
    ComboUser->setToolTip(Translated(N_("Input an existing user name or \nselect from the "
                                        "drop-down list by clicking the down-arrow button.")));

    OKButton->setGeometry(57, 225, 70, 25);
    OKButton->setFont(ButtonFont());
    BnAdd = NewButton(N_("&Add"), "BnAdd", 134, this);
    BnAdd->setToolTip(Translated(N_("Add user using existing user profile")));
    BnRemove = NewButton(N_("&Remove"), "BnRemove", 212, this);
    BnRemove->setToolTip(Translated(N_("Remove user profile")));
    BnCancel = NewButton(N_("&Exit"), "BnCancel", 288, this);
    connect(BnAdd, &QPushButton::clicked, this, [this] { Guarded([this] { BnAddClick(); }); });
    connect(BnRemove, &QPushButton::clicked, this,
            [this] { Guarded([this] { BnRemoveClick(); }); });
    connect(BnCancel, &QPushButton::clicked, this, &TFmLogon::BnCancelClick);

    ComboUser->installEventFilter(this);

    setTabOrder(ComboUser, OKButton);
    setTabOrder(OKButton, BnAdd);
    setTabOrder(BnAdd, BnRemove);
    setTabOrder(BnRemove, BnCancel);
}

std::string TFmLogon::TypedName() const
{
    return FromQString(ComboUser->currentText(), Settings->CodePage());
}

void TFmLogon::FillList()
{
    users_ = TUserList(TProfileStore(Settings->ProfileFileName()).Users());
    ComboUser->clear();
    for (const std::string& name : users_.Names())
        ComboUser->addItem(ToQString(name, Settings->CodePage()));
    const auto index = users_.IndexOf(Settings->User);
    ComboUser->setCurrentIndex(index ? static_cast<int>(*index) : -1);
    if (!index)
        ComboUser->setEditText(QString());
}

void TFmLogon::FormShow()
{
    FillList();
    ComboUser->setFocus();
}

void TFmLogon::showEvent(QShowEvent* event)
{
    TAboutBox::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFmLogon::OKButtonClick()
{
    const std::string name = TypedName();
    switch (CheckLogon(users_, name)) {
    case TLogonRefusal::NoName:
        TMessageBoxes::Information(this, Translated(NoNameMessage));
        return;
    case TLogonRefusal::NotListed:
        TMessageBoxes::Information(this, Translated(NotListedMessage));
        return;
    case TLogonRefusal::None:
        break;
    }
    Starter->UserProfile->UserName = name;
    Settings->User = name;
    Starter->StartMain(*Starter->UserProfile);
}

void TFmLogon::BnAddClick()
{
    const std::string name = TypedName();
    if (!CanBeTemplate(users_, name)) {
        TMessageBoxes::Information(this, Translated(NoTemplateMessage));
        return;
    }
    TProfile& templateProfile = *Starter->UserProfile;
    TProfile& newProfile = *Starter->NewUserProfile;
    templateProfile.UserName = name;
    templateProfile.Load();
    newProfile.CopySettingsFrom(templateProfile);
    if (Starter->EditNewProfile(newProfile) != QDialog::Accepted)
        return;
    if (users_.Contains(newProfile.UserName)) {
        TMessageBoxes::Information(this, Translated(AlreadyListedMessage));
        return;
    }
    newProfile.Save();
    TMessageBoxes::Information(this, ToQString(newProfile.UserName, Settings->CodePage()) +
                                         Translated(AddedMessage));
    FillList();
    // A new user starts without history, also where an earlier user of the
    // name left one behind.
    RemoveUserHistory(Settings->DataDir, newProfile.UserName);
}

void TFmLogon::BnRemoveClick()
{
    if (!TMessageBoxes::Confirm(this, Translated(ConfirmRemoveMessage)))
        return;
    const std::string name = TypedName();
    switch (CheckRemoval(users_, name)) {
    case TRemoval::LastProfile:
        TMessageBoxes::Error(this, Translated(LastProfileMessage));
        return;
    case TRemoval::NotListed:
        return;
    case TRemoval::Erase:
        break;
    }
    TProfileStore(Settings->ProfileFileName()).EraseUser(name);
    ComboUser->removeItem(static_cast<int>(*users_.IndexOf(name)));
    users_.Remove(name);
    // The box must not fall to a neighbour's name, which a second Remove
    // would then erase.
    ComboUser->setCurrentIndex(-1);
    ComboUser->setEditText(QString());
    RemoveUserHistory(Settings->DataDir, name);
}

bool TFmLogon::eventFilter(QObject* watched, QEvent* event)
{
    // The editable box takes Enter for itself; here Enter logs on, as it does
    // everywhere else in the window, unless it picks from the open list.
    if (watched == ComboUser && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !ComboUser->view()->isVisible()) {
            OKButton->click();
            return true;
        }
    }
    return TAboutBox::eventFilter(watched, event);
}

void TFmLogon::BnCancelClick()
{
    close();
}

void TFmLogon::reject()
{
    BnCancelClick();
}

void TFmLogon::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit Closed();
}
