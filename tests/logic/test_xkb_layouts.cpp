// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/XkbLayoutIds.h"
#include "layout/XkbLayoutPlatform.h"
#include "layout/XkbRegistry.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace {

struct WindowsIdCase
{
    const char* Layout;
    const char* Variant;
    std::uint32_t Id;
};

class WindowsIdTest : public testing::TestWithParam<WindowsIdCase>
{};

TEST_P(WindowsIdTest, MapsBothWays)
{
    const TXkbLayoutName name{GetParam().Layout, GetParam().Variant};
    EXPECT_EQ(XkbLayoutId(name), GetParam().Id);
    EXPECT_EQ(XkbLayoutOfWindowsId(GetParam().Id), name);
}

INSTANTIATE_TEST_SUITE_P(
    Common, WindowsIdTest,
    testing::Values(WindowsIdCase{"us", "", 0x00000409}, WindowsIdCase{"gb", "", 0x00000809},
                    WindowsIdCase{"de", "", 0x00000407}, WindowsIdCase{"ch", "", 0x00000807},
                    WindowsIdCase{"at", "", 0x00000C07}, WindowsIdCase{"fr", "", 0x0000040C},
                    WindowsIdCase{"be", "", 0x0000080C}, WindowsIdCase{"es", "", 0x0000040A},
                    WindowsIdCase{"it", "", 0x00000410}, WindowsIdCase{"pt", "", 0x00000816},
                    WindowsIdCase{"br", "", 0x00000416}, WindowsIdCase{"nl", "", 0x00000413},
                    WindowsIdCase{"se", "", 0x0000041D}, WindowsIdCase{"no", "", 0x00000414},
                    WindowsIdCase{"dk", "", 0x00000406}, WindowsIdCase{"fi", "", 0x0000040B},
                    WindowsIdCase{"pl", "", 0x00000415}, WindowsIdCase{"cz", "", 0x00000405},
                    WindowsIdCase{"hu", "", 0x0000040E}, WindowsIdCase{"ru", "", 0x00000419},
                    WindowsIdCase{"ua", "", 0x00000422}, WindowsIdCase{"gr", "", 0x00000408},
                    WindowsIdCase{"tr", "", 0x0000041F}, WindowsIdCase{"us", "dvorak", 0x00010409},
                    WindowsIdCase{"us", "intl", 0x00020409}));

TEST(DerivedLayoutId, StaysTheSameAcrossVersions)
{
    // Stored profiles hold these; a change of the derivation would make them
    // name other layouts.
    EXPECT_EQ(XkbLayoutId({"us", "colemak"}), 0x7DC2F2DCu);
    EXPECT_EQ(XkbLayoutId({"de", "neo"}), 0x7622E3ABu);
    EXPECT_FALSE(XkbLayoutOfWindowsId(0x7622E3ABu));
}

class RegistryTest : public testing::Test
{
protected:
    void SetUp() override
    {
        entries = ReadXkbRegistry();
        if (entries.empty())
            GTEST_SKIP() << "no XKB registry on this machine";
    }
    std::vector<TXkbRegistryEntry> entries;
};

TEST_F(RegistryTest, EveryLayoutHasItsOwnIdentifier)
{
    std::set<std::uint32_t> ids;
    for (const auto& e : entries) {
        const auto id = XkbLayoutId(e.Name);
        EXPECT_TRUE(ids.insert(id).second) << e.Name.Layout << "(" << e.Name.Variant << ")";
        if (!XkbLayoutOfWindowsId(id)) {
            EXPECT_EQ(id & ~DerivedLayoutIdMask, DerivedLayoutIdBase) << e.Name.Layout;
        }
    }
    EXPECT_GT(ids.size(), 500u);
}

TEST_F(RegistryTest, EveryWindowsIdentifierNamesAnInstalledLayout)
{
    for (const auto id : WindowsLayoutIds()) {
        const auto name = XkbLayoutOfWindowsId(id);
        ASSERT_TRUE(name);
        EXPECT_TRUE(std::any_of(entries.begin(), entries.end(),
                                [&](const TXkbRegistryEntry& e) { return e.Name == *name; }))
            << name->Layout << "(" << name->Variant << ")";
    }
}

TEST_F(RegistryTest, LayoutsCarryTheirDescriptionAndLocale)
{
    const auto find = [&](const TXkbLayoutName& name) {
        const auto e = std::find_if(entries.begin(), entries.end(),
                                    [&](const TXkbRegistryEntry& x) { return x.Name == name; });
        EXPECT_NE(e, entries.end());
        return e == entries.end() ? TInstalledLayout{} : InstalledXkbLayout(*e);
    };
    const auto de = find({"de", ""});
    EXPECT_EQ(de.Name, "German");
    EXPECT_TRUE(de.IsLanguageDefault);
    EXPECT_EQ(de.Locale.LanguageId, 0x0407);
    EXPECT_EQ(de.Locale.LanguageName, "German (Germany)");
    EXPECT_EQ(de.Locale.Country, "Germany");
    const auto dvorak = find({"us", "dvorak"});
    EXPECT_EQ(dvorak.Name, "English (Dvorak)");
    EXPECT_FALSE(dvorak.IsLanguageDefault);
    EXPECT_EQ(dvorak.Locale.LanguageId, 0x0409);
    EXPECT_EQ(find({"ch", ""}).Locale.LanguageId, 0x0807);
}

TEST_F(RegistryTest, WithoutADisplayOnlyTheInstalledLayoutsAreThere)
{
    TXkbLayoutPlatform platform;
    EXPECT_EQ(platform.InstalledLayouts().size(), entries.size());
    EXPECT_TRUE(platform.LoadedLayouts().Items.empty());
    platform.RememberCurrent();
    EXPECT_FALSE(platform.Activate(0x00000407));
    EXPECT_FALSE(platform.RestoreRemembered());
}

struct LocaleCase
{
    const char* Iso639;
    const char* Iso3166;
    std::uint16_t LanguageId;
    const char* LanguageName;
    const char* Country;
};

class LocaleTest : public testing::TestWithParam<LocaleCase>
{};

TEST_P(LocaleTest, ComesFromTheCodes)
{
    const auto locale = LayoutLocale(GetParam().Iso639, GetParam().Iso3166);
    EXPECT_EQ(locale.LanguageId, GetParam().LanguageId);
    EXPECT_EQ(locale.LanguageName, GetParam().LanguageName);
    EXPECT_EQ(locale.Country, GetParam().Country);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LocaleTest,
    testing::Values(LocaleCase{"eng", "US", 0x0409, "English (United States)", "United States"},
                    LocaleCase{"eng", "GB", 0x0809, "English (United Kingdom)", "United Kingdom"},
                    LocaleCase{"deu", "AT", 0x0C07, "German (Austria)", "Austria"},
                    LocaleCase{"fra", "BE", 0x080C, "French (Belgium)", "Belgium"},
                    LocaleCase{"por", "BR", 0x0416, "Portuguese (Brazil)", "Brazil"},
                    LocaleCase{"epo", "", 0x1000, "Esperanto", ""},
                    LocaleCase{"xyz", "QQ", 0x1000, "xyz (QQ)", "QQ"},
                    LocaleCase{"", "", 0x1000, "", ""}));

} // namespace
