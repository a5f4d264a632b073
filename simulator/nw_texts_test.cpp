// The UTF-8 and UTF-16 conversions of the NetWeaver face and its return
// codes' names.
#include "nw_texts.h"

#include <gtest/gtest.h>

#include "nw_codes.h"

namespace rfcsim {
namespace {

struct Conversion {
    std::string utf8;
    std::u16string utf16;
};

class BothWays : public testing::TestWithParam<Conversion> {};

TEST_P(BothWays, RoundTrip) {
    EXPECT_EQ(utf16_of(GetParam().utf8), GetParam().utf16);
    EXPECT_EQ(utf8_of(GetParam().utf16), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(Texts, BothWays,
                         testing::Values(Conversion{"", u""}, Conversion{"MONITOR", u"MONITOR"},
                                         Conversion{"\xC3\x9C", u"\u00DC"}, Conversion{"\xE2\x82\xAC", u"\u20AC"},
                                         Conversion{"\xF0\x9F\x98\x80", u"\U0001F600"},
                                         Conversion{"\xEF\xBF\xBF", u"\uFFFF"}, Conversion{"\x7F", u"\x7F"},
                                         Conversion{"\xC2\x80", u"\u0080"}, Conversion{"\xDF\xBF", u"\u07FF"}));

struct Replaced {
    std::string utf8;
    std::u16string utf16;
};

class Malformed : public testing::TestWithParam<Replaced> {};

TEST_P(Malformed, BecomesTheReplacementCharacter) {
    EXPECT_EQ(utf16_of(GetParam().utf8), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(Utf8, Malformed,
                         testing::Values(Replaced{"\xDC", u"\uFFFD"}, Replaced{"a\x80z", u"a\uFFFDz"},
                                         Replaced{"\xC0\x80", u"\uFFFD\uFFFD"}, Replaced{"\xE2\x82", u"\uFFFD\uFFFD"},
                                         Replaced{"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
                                         Replaced{"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
                                         Replaced{"\xF8\x88\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
                                         Replaced{"\xE2\x28\xAC", u"\uFFFD(\uFFFD"}));

TEST(NwTexts, UnpairedSurrogatesBecomeTheReplacementCharacter) {
    EXPECT_EQ(utf8_of(std::u16string(u"a") + char16_t(0xD800) + u"b"), "a\xEF\xBF\xBD"
                                                                       "b");
    EXPECT_EQ(utf8_of(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
    EXPECT_EQ(utf8_of(static_cast<const SAP_UC*>(nullptr)), "");
}

TEST(NwTexts, CopiedTextsAreCutAndPadded) {
    SAP_UC field[4] = {u'x', u'x', u'x', u'x'};
    copy_text16(field, 4, "\xE2\x82\xAC\xE2\x82\xAC");
    EXPECT_EQ(std::u16string(field, 4), std::u16string(u"\u20AC\u20AC\0\0", 4));
    copy_text16(field, 4, "ABCDEF");
    EXPECT_EQ(std::u16string(field, 4), std::u16string(u"ABC\0", 4));
}

TEST(NwTexts, ParametersInTheCallLog) {
    RFC_CONNECTION_PARAMETER parameters[] = {{u"USER", u"M\u00DCLLER"}, {nullptr, u"x"}, {u"PASSWD", nullptr}};
    EXPECT_EQ(describe_parameters(parameters, 3), " USER=[M\xC3\x9CLLER] none=[x] PASSWD=none");
    EXPECT_EQ(describe_parameters(nullptr, 2), " params=none");
    EXPECT_EQ(describe_parameters(nullptr, 0), "");
    EXPECT_EQ(log_text16(u" a "), "[ a ]");
}

struct Selection {
    std::u16string first;  // name=value pairs
    std::u16string second;
    const char* system;
};

class SystemSelection : public testing::TestWithParam<Selection> {};

TEST_P(SystemSelection, DestThenSysidThenAshost) {
    RFC_CONNECTION_PARAMETER parameters[2] = {};
    std::u16string texts[2] = {GetParam().first, GetParam().second};
    for (int i = 0; i < 2; ++i) {
        texts[i][texts[i].find(u'=')] = u'\0';
        parameters[i] = {texts[i].c_str(), texts[i].c_str() + texts[i].find(u'\0') + 1};
    }
    EXPECT_EQ(system_name(parameter_values(parameters, 2)), GetParam().system);
}

INSTANTIATE_TEST_SUITE_P(Parameters, SystemSelection,
                         testing::Values(Selection{u"ASHOST=app01", u"SYSID=PRD", "PRD"},
                                         Selection{u"DEST=BIN", u"SYSID=PRD", "BIN"},
                                         Selection{u"ashost=app01", u"LANG=E", "app01"},
                                         Selection{u"SYSID=", u"ASHOST=app01", "app01"},
                                         Selection{u"dest=A", u"Dest=B", "B"}, Selection{u"X=1", u"Y=2", ""}));

TEST(NwCodes, NamesAndGroups) {
    EXPECT_EQ(rfc_rc_named("RFC_OK"), 0);
    EXPECT_EQ(rfc_rc_named("RFC_TIMEOUT"), RFC_TIMEOUT);
    EXPECT_EQ(rfc_rc_named("RFC_AUTHORIZATION_FAILURE"), RFC_AUTHORIZATION_FAILURE);
    EXPECT_EQ(rfc_rc_named("RFC_UNKNOWN_ERROR"), RFC_UNKNOWN_ERROR);
    EXPECT_FALSE(rfc_rc_named("rfc_ok"));
    for (int32_t code = RFC_OK; code <= RFC_AUTHORIZATION_FAILURE; ++code)
        EXPECT_EQ(rfc_rc_named(rfc_rc_name(code)), code) << code;
    EXPECT_EQ(rfc_rc_name(30), "30");
    EXPECT_EQ(rfc_rc_name(-1), "-1");
    EXPECT_EQ(error_group_of(RFC_LOGON_FAILURE), LOGON_FAILURE);
    EXPECT_EQ(error_group_of(RFC_ABAP_EXCEPTION), ABAP_APPLICATION_FAILURE);
    EXPECT_EQ(error_group_of(RFC_ABAP_RUNTIME_FAILURE), ABAP_RUNTIME_FAILURE);
    EXPECT_EQ(error_group_of(RFC_COMMUNICATION_FAILURE), COMMUNICATION_FAILURE);
    EXPECT_EQ(error_group_of(RFC_TIMEOUT), EXTERNAL_RUNTIME_FAILURE);
}

}  // namespace
}  // namespace rfcsim
