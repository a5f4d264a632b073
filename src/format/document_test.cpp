#include "document.h"

#include <gtest/gtest.h>

namespace {

ChannelSettings custom_unit(const char* name) {
    ChannelSettings settings;
    settings.unit = "Custom";
    settings.customUnit = name;
    return settings;
}

}  // namespace

TEST(Document, ResultDocumentShape) {
    ResultDocument document{"old content"};
    begin_document(document);
    begin_text(document);
    append_text(document, "(PRD) System-Queues: ");
    end_text(document);
    add_channel(document, "Requests Dialog", "12345", custom_unit("Reqs"));
    add_channel(document, "Plain", "7", ChannelSettings{});
    end_document(document);
    EXPECT_EQ(document.text,
              "\n<Prtg>\n\n<Text>(PRD) System-Queues: </Text>\n"
              "\n<Result><Channel>Requests Dialog</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>Reqs</CustomUnit>"
              "\n<Value>12345</Value></Result>\n"
              "\n<Result><Channel>Plain</Channel>\n<Value>7</Value></Result>\n"
              "\n</Prtg>\n");
}

TEST(Document, ErrorDocumentShape) {
    ResultDocument document{"\n<Prtg>\n"};
    set_error_document(document, "");
    EXPECT_EQ(document.text, "<Prtg>\n<Error>1</Error>\n<Text></Text>\n</Prtg>\n");
    set_error_document(document, "Error 1001: Parameter for Profile-Name is missing !");
    EXPECT_EQ(document.text,
              "<Prtg>\n<Error>1</Error>\n<Text>Error 1001: Parameter for Profile-Name is missing !</Text>\n</Prtg>\n");
}

TEST(Document, InsertedTextsAreEscapedOnce) {
    ResultDocument document;
    add_channel(document, "A&B", "<1>", custom_unit("x&y"));
    EXPECT_EQ(document.text,
              "\n<Result><Channel>A&amp;B</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>x&amp;y</CustomUnit>"
              "\n<Value>&lt;1&gt;</Value></Result>\n");
    set_error_document(document, "Error 1012: Exception.: R&D <x>");
    EXPECT_EQ(document.text,
              "<Prtg>\n<Error>1</Error>\n<Text>Error 1012: Exception.: R&amp;D &lt;x&gt;</Text>\n</Prtg>\n");
    set_error_document(document, "a'b\"c");
    EXPECT_NE(document.text.find("<Text>a'b\"c</Text>"), std::string::npos);
}

TEST(Document, HighBytesBecomeWindows1252CharacterReferences) {
    const struct {
        const char* text;
        const char* escaped;
    } cases[] = {
        {"Anmeldung f\xfcr Benutzer", "Anmeldung f&#252;r Benutzer"},
        {"\x80 \x9f \x81 \xa0\xff", "&#8364; &#376; &#129; &#160;&#255;"},
        {"plain \x7f text", "plain \x7f text"},
        {"a\x01"
         "b\tc",
         "a b\tc"},
    };
    for (const auto& c : cases) EXPECT_EQ(xml_escaped(c.text), c.escaped) << c.text;
}

TEST(Document, GroupThousands) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"0", "0"},
        {"999", "999"},
        {"1000", "1.000"},
        {"123456", "123.456"},
        {"999999", "999.999"},
        {"1000000", "1.000.000"},
        {"4294967295", "4294.967.295"},
    };
    for (const auto& [digits, grouped] : cases) EXPECT_EQ(group_thousands(digits), grouped) << digits;
}
