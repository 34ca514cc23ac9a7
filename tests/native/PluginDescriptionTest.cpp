// The rules that make a plug-in's texts from the facts of its Description.h,
// for a made-up replay game whose minor version has two digits (the real
// plug-ins, checked under Wine, all have one). Natively the texts stay UTF-8.
#include <gtest/gtest.h>

#include <iterator>
#include <vector>

#define KVP_PLUGIN_KIND "Testdan"
#define KVP_PLUGIN_VERSION_MAJOR 3
#define KVP_PLUGIN_VERSION_MINOR 12
#define KVP_REPLAY_PREFIX "testo"
#include "replay/ReplayDescription.h"

TEST(PluginDescription, ReplayTextsFromTitleVersionAndPrefix)
{
    EXPECT_STREQ(KVP_PLUGIN_STRING0, "KARVO Plug-in For Testdan Ver3.12 (C) 2026 the kvp-plugins authors");
    EXPECT_STREQ(KVP_PLUGIN_STRING1, "Testdan");
    EXPECT_STREQ(KVP_PLUGIN_STRING2, "testo_*.rpy");
    EXPECT_STREQ(KVP_PLUGIN_STRING3, "Testdan リプレイファイル(testo_*.rpy)");

    // The version resource's texts and numbers.
    EXPECT_STREQ(KVP_PRODUCT_NAME, "KARVO Plug-in For Testdan");
    EXPECT_STREQ(KVP_FILE_DESCRIPTION, "Testdan リプレイ (testo_*.rpy)");
    EXPECT_STREQ(KVP_VERSION_TEXT, "3.12");
    const int numbers[] = {KVP_VERSION_NUMBERS};
    EXPECT_EQ(std::vector<int>(std::begin(numbers), std::end(numbers)), (std::vector<int>{3, 12, 0, 0}));
    EXPECT_STREQ(KVP_AUTHORS, "the kvp-plugins authors");
}
