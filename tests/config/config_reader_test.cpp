// The strict reader: what loads, and the exact message for each kind of damaged file.

#include "config/config_reader.h"
#include "config/config_store.h"

#include "../sys/temp_folder.h"
#include "sample_configs.h"
#include "sys/error.h"
#include "sys/handle.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace tavrel {
namespace {

using test::readBytes;
using test::writeBytes;

const std::string declaration = R"(<?xml version="1.0" encoding="UTF-8"?>)";
const std::string rootAttributes = R"(schemaVersion="4" autoUpdate="true" width="1100" height="760")";
const std::string bindingAttributes = R"(id="b1" enabled="true" keepOriginalFunction="true" holdThresholdMs="500")";
const std::string nameElement = "<name>One</name>";
const std::string triggerElement = R"(<trigger kind="keyboard" code="66" extended="false" modifiers="0"/>)";
const std::string pressList = R"(<onPress><action type="delay" ms="100"/></onPress>)";
const std::string holdList = "<onHold/>";

std::string document(const std::string& attributes, const std::string& body) {
    return declaration + "<tavrel " + attributes + ">" + body + "</tavrel>";
}

std::string withBinding(const std::string& attributes, const std::string& children) {
    return document(rootAttributes, "<binding " + attributes + ">" + children + "</binding>");
}

std::string withChildren(const std::string& children) { return withBinding(bindingAttributes, children); }

// One binding whose On press list holds the given action elements.
std::string withActions(const std::string& actions) {
    return withChildren(nameElement + triggerElement + "<onPress>" + actions + "</onPress>" + holdList);
}

const std::string validDocument = withChildren(nameElement + triggerElement + pressList + holdList);

class ConfigReader : public ::testing::Test {
protected:
    Config load(const std::string& bytes) {
        writeBytes(file(), bytes);
        return loadConfig(file());
    }

    // The message of the Error the load raises ("(loaded)" when it does not fail).
    std::wstring failure(const std::string& bytes) {
        try {
            load(bytes);
        } catch (const Error& error) {
            return error.message();
        }
        return L"(loaded)";
    }

    std::filesystem::path file() const { return folder.path() / L"config.xml"; }

    testing::TempFolder folder;
};

struct FailureCase {
    const char* what;
    std::string xml;
    const wchar_t* message;
};

TEST_F(ConfigReader, RejectsEachKindOfBadContentWithItsMessage) {
    const std::vector<FailureCase> cases = {
        {"schema 5", document(R"(schemaVersion="5" autoUpdate="true" width="1100" height="760")", ""),
         L"Unsupported config schemaVersion. File was not changed."},
        {"schema with blank", document(R"(schemaVersion=" 4" autoUpdate="true" width="1100" height="760")", ""),
         L"Unsupported config schemaVersion. File was not changed."},
        {"schema 04", document(R"(schemaVersion="04" autoUpdate="true" width="1100" height="760")", ""),
         L"Unsupported config schemaVersion. File was not changed."},
        {"no schema", document(R"(autoUpdate="true" width="1100" height="760")", ""),
         L"Missing XML attribute: schemaVersion"},
        {"no autoUpdate", document(R"(schemaVersion="4" width="1100" height="760")", ""),
         L"Missing XML attribute: autoUpdate"},
        {"empty language", document(rootAttributes + R"( language="")", ""), L"Unknown language."},
        {"language in capitals", document(rootAttributes + R"( language="EN")", ""), L"Unknown language."},
        {"width 499", document(R"(schemaVersion="4" autoUpdate="true" width="499" height="760")", ""),
         L"Out-of-range integer: width"},
        {"width with trailing blank", document(R"(schemaVersion="4" autoUpdate="true" width="900 " height="760")", ""),
         L"Out-of-range integer: width"},
        {"width 9e2", document(R"(schemaVersion="4" autoUpdate="true" width="9e2" height="760")", ""),
         L"Out-of-range integer: width"},
        {"empty width", document(R"(schemaVersion="4" autoUpdate="true" width="" height="760")", ""),
         L"Invalid integer: width"},
        {"width beyond 64 bits",
         document(R"(schemaVersion="4" autoUpdate="true" width="99999999999999999999" height="760")", ""),
         L"Invalid integer: width"},
        {"height 8001", document(R"(schemaVersion="4" autoUpdate="true" width="1100" height="8001")", ""),
         L"Out-of-range integer: height"},
        {"compact yes", document(rootAttributes + R"( compact="yes")", ""), L"Invalid boolean: compact"},
        {"unknown root attribute", document(rootAttributes + R"( zoom="1" beta="x")", ""),
         L"Unknown XML attribute: beta"},
        {"enabled True",
         withBinding(R"(id="b1" enabled="True" keepOriginalFunction="true" holdThresholdMs="500")",
                     nameElement + triggerElement + pressList + holdList),
         L"Invalid boolean: enabled"},
        {"hold 199",
         withBinding(R"(id="b1" enabled="true" keepOriginalFunction="true" holdThresholdMs="199")",
                     nameElement + triggerElement + pressList + holdList),
         L"Out-of-range integer: holdThresholdMs"},
        {"binding without id",
         withBinding(R"(enabled="true" keepOriginalFunction="true" holdThresholdMs="500")",
                     nameElement + triggerElement + pressList + holdList),
         L"Missing XML attribute: id"},
        {"binding without name", withChildren(triggerElement + pressList + holdList),
         L"Binding requires trigger, onPress and onHold."},
        {"binding without onHold", withChildren(nameElement + triggerElement + pressList),
         L"Binding requires trigger, onPress and onHold."},
        {"empty binding element", document(rootAttributes, "<binding " + bindingAttributes + "/>"),
         L"Binding is missing its trigger and actions."},
        {"second name", withChildren(nameElement + nameElement + triggerElement + pressList + holdList),
         L"Unexpected XML element: name"},
        {"second trigger", withChildren(nameElement + triggerElement + triggerElement + pressList + holdList),
         L"Unexpected XML element: trigger"},
        {"second onHold", withChildren(nameElement + triggerElement + pressList + holdList + holdList),
         L"Duplicate action list."},
        {"attribute on onPress",
         withChildren(nameElement + triggerElement + R"(<onPress when="now"/>)" + holdList),
         L"Unknown XML attribute: when"},
        {"trigger kind pen", withChildren(nameElement + R"(<trigger kind="pen" code="66" extended="false" modifiers="0"/>)" +
                                          pressList + holdList),
         L"Unknown trigger kind."},
        {"trigger code 128", withChildren(nameElement + R"(<trigger kind="keyboard" code="128" extended="false" modifiers="0"/>)" +
                                          pressList + holdList),
         L"Out-of-range integer: code"},
        {"trigger without modifiers", withChildren(nameElement + R"(<trigger kind="keyboard" code="66" extended="false"/>)" +
                                                   pressList + holdList),
         L"Missing XML attribute: modifiers"},
        {"element inside trigger",
         withChildren(nameElement + R"(<trigger kind="keyboard" code="66" extended="false" modifiers="0"><x/></trigger>)" +
                      pressList + holdList),
         L"Unexpected XML element: x"},
        {"activate on url", withActions(R"(<action type="url" activate="true"><url>https://a.example/</url></action>)"),
         L"Unknown XML attribute: activate"},
        {"client on program", withActions(R"(<action type="program" client="true"/>)"), L"Unknown XML attribute: client"},
        {"windowPolicy on url", withActions(R"(<action type="url" windowPolicy="1"/>)"),
         L"Unknown XML attribute: windowPolicy"},
        {"windowPolicy 3", withActions(R"(<action type="click" windowPolicy="3" x="1" y="2" button="1" count="1"/>)"),
         L"Out-of-range integer: windowPolicy"},
        {"unknown action type", withActions(R"(<action type="macro"/>)"), L"Unknown action type: macro"},
        {"action without type", withActions(R"(<action enabled="true"/>)"), L"Missing XML attribute: type"},
        {"url in program", withActions(R"(<action type="program"><url>https://a.example/</url></action>)"),
         L"Unexpected action parameter."},
        {"text in url", withActions(R"(<action type="url"><text>x</text></action>)"), L"Unexpected action parameter."},
        {"window rule in url", withActions(R"(<action type="url"><windowExe>a.exe</windowExe></action>)"),
         L"Unexpected action parameter."},
        {"two executables",
         withActions(R"(<action type="program"><executable>a.exe</executable><executable>b.exe</executable></action>)"),
         L"Duplicate action parameter."},
        {"attribute on a parameter", withActions(R"(<action type="text"><text lang="en">x</text></action>)"),
         L"Unknown XML attribute: lang"},
        {"other element in action", withActions(R"(<action type="program"><icon/></action>)"),
         L"Unexpected XML element: icon"},
        {"click without x", withActions(R"(<action type="click" y="2" button="1" count="1"/>)"),
         L"Missing XML attribute: x"},
        {"click x beyond 32 bits", withActions(R"(<action type="click" x="2147483648" y="2" button="1" count="1"/>)"),
         L"Out-of-range integer: x"},
        {"click button 6", withActions(R"(<action type="click" x="1" y="2" button="6" count="1"/>)"),
         L"Out-of-range integer: button"},
        {"click count 3", withActions(R"(<action type="click" x="1" y="2" button="1" count="3"/>)"),
         L"Out-of-range integer: count"},
        {"delay 600001", withActions(R"(<action type="delay" ms="600001"/>)"), L"Out-of-range integer: ms"},
        {"delay with ms and name", withActions(R"(<action type="delay" ms="1" name="x"/>)"), L"Unknown XML attribute: name"},
        {"layout without id", withActions(R"(<action type="layout" name="US"/>)"), L"Missing XML attribute: id"},
        {"key without kind", withActions(R"(<action type="key" code="30" extended="false" modifiers="0"/>)"),
         L"Missing XML attribute: kind"},
        {"comment in name", withChildren("<name>On<!-- x -->e</name>" + triggerElement + pressList + holdList),
         L"Unexpected nested XML in text field."},
        {"element in text", withActions(R"(<action type="text"><text>a<b/></text></action>)"),
         L"Unexpected nested XML in text field."},
        {"text in root", document(rootAttributes, "hello"), L"Unexpected text or entity in config."},
        {"text in binding", withChildren(nameElement + "stray" + triggerElement + pressList + holdList),
         L"Unexpected text or entity in config."},
        {"CDATA in a list", withChildren(nameElement + triggerElement + "<onPress><![CDATA[x]]></onPress>" + holdList),
         L"Unexpected text or entity in config."},
        {"default namespace on root", document(rootAttributes + R"( xmlns="urn:tavrel")", ""),
         L"XML namespaces are not supported."},
        {"prefixed namespace declared on root", document(rootAttributes + R"( xmlns:p="urn:tavrel")", ""),
         L"Unknown namespace or duplicate XML attribute."},
        {"prefixed attribute", document(rootAttributes + R"( xmlns:p="urn:tavrel" p:width="1")", ""),
         L"Unknown namespace or duplicate XML attribute."},
        {"prefixed binding",
         document(rootAttributes, R"(<p:binding xmlns:p="urn:tavrel" )" + bindingAttributes + ">" + nameElement +
                                      triggerElement + pressList + holdList + "</p:binding>"),
         L"XML namespaces are not supported."},
        {"other root", declaration + "<config " + rootAttributes + "/>", L"Unexpected XML element: config"},
        {"binding outside the root's children",
         withActions("<binding " + bindingAttributes + "/>"), L"Unexpected XML element: binding"},
        {"action directly in binding",
         withChildren(nameElement + triggerElement + R"(<action type="delay" ms="1"/>)" + pressList + holdList),
         L"Unexpected XML element: action"},
        {"program without parameters", withActions(R"(<action type="program"/>)"),
         L"One: Choose an executable path without quotes."},
        {"duplicate id", document(rootAttributes, "<binding " + bindingAttributes + ">" + nameElement + triggerElement +
                                                      pressList + holdList + "</binding><binding " + bindingAttributes +
                                                      "><name>Two</name>" +
                                                      R"(<trigger kind="keyboard" code="67" extended="false" modifiers="0"/>)" +
                                                      pressList + holdList + "</binding>"),
         L"Missing or duplicate binding ID."},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(failure(c.xml), c.message);
    }
}

TEST_F(ConfigReader, MessagesNameTheAttributeNeverItsValue) {
    const std::wstring message = failure(document(rootAttributes + R"( compact="secret-value")", ""));
    EXPECT_EQ(message, L"Invalid boolean: compact");
}

TEST_F(ConfigReader, MalformedXmlFailsInsideTheXmlReader) {
    // Where the XML reader lets a fault through, the reader's own rule catches it.
    const std::vector<std::tuple<const char*, std::string, const wchar_t*>> cases = {
        {"DOCTYPE", declaration + "<!DOCTYPE tavrel [<!ENTITY e \"x\">]><tavrel " + rootAttributes + "/>", nullptr},
        {"undeclared entity", document(rootAttributes, "&e;"), L"Unexpected text or entity in config."},
        {"mismatched end tag", declaration + "<tavrel " + rootAttributes + "></binding>", nullptr},
        {"two roots", document(rootAttributes, "") + "<tavrel " + rootAttributes + "/>", nullptr},
        {"duplicate attribute", document(rootAttributes + R"( compact="true" compact="false")", ""),
         L"Unknown namespace or duplicate XML attribute."},
        {"truncated in the end tag", validDocument.substr(0, validDocument.size() - 4), L"Incomplete config.xml."},
        {"empty file", std::string(), L"Incomplete config.xml."},
        {"only a comment", declaration + "<!-- nothing -->", L"Incomplete config.xml."},
    };
    for (const auto& [what, xml, alternative] : cases) {
        SCOPED_TRACE(what);
        const std::wstring message = failure(xml);
        EXPECT_TRUE(message.rfind(L"Parse config.xml: ", 0) == 0 || (alternative && message == alternative)) << message;
    }
}

TEST_F(ConfigReader, AFileWithOnlyTheDeclarationIsIncomplete) {
    if (test::runsOnWine()) GTEST_SKIP() << "Wine's XML reader aborts the process at the end of such a file";
    for (const std::string& xml : {declaration, std::string("\xEF\xBB\xBF")}) {
        const std::wstring message = failure(xml);
        EXPECT_TRUE(message.rfind(L"Parse config.xml: ", 0) == 0 || message == L"Incomplete config.xml.") << message;
    }
}

TEST_F(ConfigReader, ReadsAValidFileWithDefaultsForOptionalAttributes) {
    const Config config = load(validDocument);
    EXPECT_TRUE(config.autoUpdate);
    EXPECT_FALSE(config.compact);
    EXPECT_EQ(config.language, L"");
    EXPECT_EQ(config.width, 1100);
    ASSERT_EQ(config.bindings.size(), 1u);
    const Binding& binding = config.bindings[0];
    EXPECT_EQ(binding.id, L"b1");
    EXPECT_EQ(binding.name, L"One");
    EXPECT_TRUE(binding.holdEnabled);  // absent means true
    EXPECT_EQ(binding.trigger, test::key(66));
    ASSERT_EQ(binding.onPress.size(), 1u);
    EXPECT_EQ(binding.onPress[0].delayMs, 100u);
    EXPECT_TRUE(binding.onPress[0].enabled);
    EXPECT_TRUE(binding.onHold.empty());
}

TEST_F(ConfigReader, AcceptsWhatTheRulesAllow) {
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"schema 1", document(R"(schemaVersion="1" autoUpdate="false" width="1100" height="760")", "")},
        {"width with leading blank", document(R"(schemaVersion="4" autoUpdate="true" width=" 900" height="760")", "")},
        {"width with sign", document(R"(schemaVersion="4" autoUpdate="true" width="+900" height="760")", "")},
        {"every language", document(rootAttributes + R"( language="ka")", "")},
        {"comment, PI and blank lines in the root", document(rootAttributes, "\r\n  <!-- note -->\r\n<?pi x?>\t\n")},
        {"children in any order", withChildren(holdList + pressList + triggerElement + nameElement)},
        {"attributes in any order",
         withBinding(R"(holdThresholdMs="500" keepOriginalFunction="true" enabled="true" id="b1")",
                     nameElement + triggerElement + pressList + holdList)},
        {"no declaration", validDocument.substr(declaration.size())},
        {"byte-order mark", "\xEF\xBB\xBF" + validDocument},
    };
    for (const auto& [what, xml] : cases) {
        SCOPED_TRACE(what);
        EXPECT_EQ(failure(xml), L"(loaded)");
    }
    EXPECT_EQ(load(cases[1].second).width, 900);
}

TEST_F(ConfigReader, ReadsUtf16Files) {
    const std::string utf8 = R"(<?xml version="1.0" encoding="UTF-16"?>)" + validDocument.substr(declaration.size());
    std::string utf16 = "\xFF\xFE";
    for (char c : utf8) {
        utf16 += c;
        utf16 += '\0';
    }
    const Config config = load(utf16);
    ASSERT_EQ(config.bindings.size(), 1u);
    EXPECT_EQ(config.bindings[0].name, L"One");
}

TEST_F(ConfigReader, TextElementsKeepTheirContentExactly) {
    const Config config = load(withActions(
        R"(<action type="text"><text>  a &amp; <![CDATA[<b> ]]>&#x4A;
z </text></action>)"
        R"(<action type="program" activate="true" windowPolicy="2"><directory/><executable>x.exe</executable><arguments></arguments></action>)"
        R"(<action type="click" client="false" x="-5" y="7" button="2" count="2"><windowTitle>  </windowTitle></action>)"
        R"(<action type="layout" id="previous"/>)"));
    const std::vector<Action>& actions = config.bindings[0].onPress;
    ASSERT_EQ(actions.size(), 4u);
    EXPECT_EQ(actions[0].value, L"  a & <b> J\nz ");
    EXPECT_EQ(actions[1].value, L"x.exe");
    EXPECT_TRUE(actions[1].activate);
    EXPECT_EQ(actions[1].windowPolicy, WindowPolicy::newestProcess);
    EXPECT_EQ(actions[1].arguments, L"");
    EXPECT_EQ(actions[1].windowExe, L"");  // a missing parameter leaves the field empty
    EXPECT_EQ(actions[2].windowTitle, L"  ");
    EXPECT_EQ(actions[2].x, -5);
    EXPECT_EQ(actions[2].count, 2);
    EXPECT_EQ(actions[3].layoutId, L"previous");
    EXPECT_EQ(actions[3].layoutName, L"");
}

TEST_F(ConfigReader, CarriageReturnsWrittenAsReferencesComeBack) {
    if (test::runsOnWine()) GTEST_SKIP() << "Wine's XML reader turns white-space character references into blanks";
    const Config config = load(withActions(R"(<action type="text"><text>a&#xD;&#10;b</text></action>)"));
    EXPECT_EQ(config.bindings[0].onPress[0].value, L"a\r\nb");
}

TEST_F(ConfigReader, MultiByteCharactersSurviveInLargeFiles) {
    if (test::runsOnWine())
        GTEST_SKIP() << "Wine's XML reader garbles a multi-byte UTF-8 character that straddles its read buffers";
    Config config = test::largeConfig(300);
    for (Binding& binding : config.bindings) binding.name += L" Ünïcødé – 😀";
    saveConfig(file(), config);
    EXPECT_EQ(loadConfig(file()), config);
}

TEST_F(ConfigReader, TheSizeLimitIsCheckedBeforeTheFileIsOpened) {
    // Many small comments: one huge node is slow in some XML readers and proves nothing more.
    const std::string end = "</tavrel>";
    std::string exact = declaration + "<tavrel " + rootAttributes + ">";
    const std::string comment = "<!--" + std::string(1000, 'x') + "-->\n";
    while (exact.size() + comment.size() * 2 + end.size() < maxConfigBytes) exact += comment;
    exact += "<!--" + std::string(maxConfigBytes - exact.size() - end.size() - 7, 'y') + "-->";
    exact += end;
    ASSERT_EQ(exact.size(), maxConfigBytes);
    EXPECT_EQ(failure(exact), L"(loaded)");

    writeBytes(file(), exact + " ");
    // Held without sharing: opening would fail, so the size must have stopped the load first.
    const UniqueHandle holder(CreateFileW(file().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    try {
        loadConfig(file());
        ADD_FAILURE() << "loaded a file above the limit";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), L"Config exceeds 8 MiB.");
    }
}

TEST_F(ConfigReader, SystemFailuresNameTheOperation) {
    try {
        loadConfig(folder.path() / L"missing.xml");
        ADD_FAILURE() << "loaded a missing file";
    } catch (const Error& error) {
        EXPECT_EQ(error.message().rfind(L"Read config file: ", 0), 0u) << error.message();
    }

    writeBytes(file(), validDocument);
    const UniqueHandle writer(
        CreateFileW(file().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    try {
        loadConfig(file());
        ADD_FAILURE() << "read a file that another handle may write";
    } catch (const Error& error) {
        EXPECT_EQ(error.message().rfind(L"Open config.xml: ", 0), 0u) << error.message();
    }
}

TEST_F(ConfigReader, NeverModifiesTheFile) {
    const std::string damaged = withActions(R"(<action type="macro"/>)");
    writeBytes(file(), damaged);
    EXPECT_THROW(loadConfig(file()), Error);
    EXPECT_EQ(readBytes(file()), damaged);
}

}  // namespace
}  // namespace tavrel
