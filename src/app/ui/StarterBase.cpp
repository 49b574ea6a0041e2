// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/StarterBase.h"

#include "app/GlobalVar.h"
#include "app/ui/TWMainForm.h"
#include "keyboard/MainData.h"
#include "layout/KeyboardLayoutAgent.h"

#include <QWidget>

TTWStarterBase::TTWStarterBase(QObject* owner, std::unique_ptr<TKeyboardLayoutAgent> agent)
    : QObject(owner), UserProfile(std::make_unique<TProfile>()),
      NewUserProfile(std::make_unique<TProfile>()), LayoutAgent(std::move(agent))
{
    BindProfile(*UserProfile);
    BindProfile(*NewUserProfile);
    if (Settings != nullptr && Settings->ToRestoreLayout)
        LayoutAgent->KeepRestoreFile(Settings->LayoutRestoreFileName());
    LayoutAgent->Refresh();
}

TTWStarterBase::~TTWStarterBase()
{
    // The main window still uses the template and the agent while it goes.
    delete mainFm_;
    if (DataMod == dataMod_.get())
        DataMod = nullptr;
}

void TTWStarterBase::BindProfile(TProfile& profile)
{
    // Dispatched at the time of the event, so the subclass's store serves it.
    profile.OnLoad = [this](TProfile& p, const std::string& name) { LoadProfile(p, name); };
    profile.OnSave = [this](TProfile& p, const std::string& name) { SaveProfile(p, name); };
}

void TTWStarterBase::StartMain(TProfile& profile)
{
    auto mainFm = std::make_unique<TTWMainFm>();
    mainFm->SetLayoutAgent(LayoutAgent.get());
    if (!DataMod) {
        dataMod_ = std::make_unique<TDataMod>(Settings->CodePage());
        DataMod = dataMod_.get();
    }
    // A failed load throws past here to the general error report: the new
    // main window goes with the stack, and the logon window stays up.
    profile.Load();
    mainFm->SetProfile(profile);
    PrepareMain(*mainFm);
    mainFm_ = mainFm.release();
    mainFm_->show();
    if (auto* logon = qobject_cast<QWidget*>(parent()))
        logon->hide();
}
