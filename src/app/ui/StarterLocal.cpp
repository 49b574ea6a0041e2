// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/StarterLocal.h"

#include "app/CourseFolders.h"
#include "app/GlobalVar.h"
#include "app/ui/TWMainForm.h"
#include "base/ui/QtBridge.h"
#include "profile/ProfileStore.h"
#include "profile/ui/ProfileForm.h"

namespace {

TProfileStore Store()
{
    return TProfileStore(Settings->ProfileFileName());
}

} // namespace

void TTWStarterLocal::LoadProfile(TProfile& sender, const std::string& name)
{
    Store().LoadProfile(sender, name);
}

void TTWStarterLocal::SaveProfile(TProfile& sender, const std::string& name)
{
    Store().SaveProfile(sender, name);
}

void TTWStarterLocal::PrepareMain(TTWMainFm& mainFm)
{
    mainFm.setFont(QFont(ToQString(Settings->FontName, Settings->CodePage())));
}

int TTWStarterLocal::EditNewProfile(TProfile& profile)
{
    TProfileFm dialog(Settings->CodePage());
    dialog.SetAgent(LayoutAgent.get());
    BindProfile(profile);
    dialog.SetCourses(TCourseFolders(Settings->DataDir, Settings->CodePage()).List());
    return dialog.ShowForNewUser(&profile);
}
