#include "config/config_writer.h"

#include "sys/com_ptr.h"
#include "sys/hresult.h"

#include <xmllite.h>

#include <string>
#include <string_view>

namespace tavrel {

namespace {

class XmlOutput {
public:
    explicit XmlOutput(IStream* stream) {
        checkHresult(CreateXmlWriter(__uuidof(IXmlWriter), writer_.putVoid(), nullptr), L"Create XML writer");
        checkHresult(writer_->SetOutput(stream), L"Set XML output");
        checkHresult(writer_->SetProperty(XmlWriterProperty_Indent, TRUE), L"Set XML indentation");
        checkHresult(writer_->WriteStartDocument(XmlStandalone_Omit), L"Write XML header");
    }

    void start(const wchar_t* name) {
        checkHresult(writer_->WriteStartElement(nullptr, name, nullptr), L"Write XML element");
    }

    void attribute(const wchar_t* name, const std::wstring& value) {
        checkHresult(writer_->WriteAttributeString(nullptr, name, nullptr, value.c_str()), L"Write XML attribute");
    }
    void attribute(const wchar_t* name, bool value) { attribute(name, std::wstring(value ? L"true" : L"false")); }
    void attribute(const wchar_t* name, long long value) { attribute(name, std::to_wstring(value)); }

    void end() { checkHresult(writer_->WriteEndElement(), L"Finish XML element"); }

    // Always a start tag, the text and an end tag, also for an empty text. A carriage
    // return goes out as a character reference: written plainly, the reader's line-end
    // normalisation would hand it back as a line feed.
    void textElement(const wchar_t* name, std::wstring_view text) {
        checkHresult(writer_->WriteStartElement(nullptr, name, nullptr), L"Start XML text field");
        for (;;) {
            const std::size_t cr = text.find(L'\r');
            const std::wstring_view part = text.substr(0, cr);
            if (!part.empty()) {
                checkHresult(writer_->WriteChars(part.data(), static_cast<UINT>(part.size())),
                             L"Write escaped XML text");
            }
            if (cr == std::wstring_view::npos) break;
            checkHresult(writer_->WriteCharEntity(L'\r'), L"Write escaped XML text");
            text.remove_prefix(cr + 1);
        }
        checkHresult(writer_->WriteFullEndElement(), L"Finish XML text field");
    }

    void finish() {
        checkHresult(writer_->WriteEndDocument(), L"Finish config XML");
        checkHresult(writer_->Flush(), L"Flush XML writer");
    }

private:
    ComPtr<IXmlWriter> writer_;
};

void writeTriggerAttributes(XmlOutput& out, const Trigger& trigger) {
    out.attribute(L"kind", std::wstring(trigger.mouse ? L"mouse" : L"keyboard"));
    out.attribute(L"code", static_cast<long long>(trigger.code));
    out.attribute(L"extended", trigger.extended);
    out.attribute(L"modifiers", static_cast<long long>(trigger.modifiers));
}

const wchar_t* typeName(ActionType type) {
    switch (type) {
    case ActionType::url: return L"url";
    case ActionType::program: return L"program";
    case ActionType::key: return L"key";
    case ActionType::click: return L"click";
    case ActionType::delay: return L"delay";
    case ActionType::text: return L"text";
    case ActionType::layout: return L"layout";
    }
    return L"";
}

void writeWindowRule(XmlOutput& out, const Action& action) {
    out.textElement(L"windowExe", action.windowExe);
    out.textElement(L"windowTitle", action.windowTitle);
    out.textElement(L"windowClass", action.windowClass);
}

// Only the fields the action's type uses; the others are left out of the file.
void writeAction(XmlOutput& out, const Action& action) {
    const bool hasWindow = action.type == ActionType::program || action.type == ActionType::click;
    out.start(L"action");
    out.attribute(L"enabled", action.enabled);
    if (hasWindow) out.attribute(L"windowPolicy", static_cast<long long>(action.windowPolicy));
    out.attribute(L"type", std::wstring(typeName(action.type)));
    switch (action.type) {
    case ActionType::url:
        out.textElement(L"url", action.value);
        break;
    case ActionType::program:
        out.attribute(L"activate", action.activate);
        out.textElement(L"executable", action.value);
        out.textElement(L"arguments", action.arguments);
        out.textElement(L"directory", action.directory);
        writeWindowRule(out, action);
        break;
    case ActionType::key:
        writeTriggerAttributes(out, action.key);
        break;
    case ActionType::click:
        out.attribute(L"client", action.client);
        out.attribute(L"x", static_cast<long long>(action.x));
        out.attribute(L"y", static_cast<long long>(action.y));
        out.attribute(L"button", static_cast<long long>(action.button));
        out.attribute(L"count", static_cast<long long>(action.count));
        writeWindowRule(out, action);
        break;
    case ActionType::delay:
        out.attribute(L"ms", static_cast<long long>(action.delayMs));
        break;
    case ActionType::text:
        out.textElement(L"text", action.value);
        break;
    case ActionType::layout:
        out.attribute(L"id", action.layoutId);
        out.attribute(L"name", action.layoutName);
        break;
    }
    out.end();
}

void writeList(XmlOutput& out, const wchar_t* name, const std::vector<Action>& actions) {
    out.start(name);
    for (const Action& action : actions) writeAction(out, action);
    out.end();
}

void writeBinding(XmlOutput& out, const Binding& binding) {
    out.start(L"binding");
    out.attribute(L"id", binding.id);
    out.attribute(L"enabled", binding.enabled);
    out.attribute(L"keepOriginalFunction", binding.keepOriginalFunction);
    out.attribute(L"holdThresholdMs", static_cast<long long>(binding.holdThresholdMs));
    out.attribute(L"holdEnabled", binding.holdEnabled);
    out.textElement(L"name", binding.name);
    out.start(L"trigger");
    writeTriggerAttributes(out, binding.trigger);
    out.end();
    writeList(out, L"onPress", binding.onPress);
    writeList(out, L"onHold", binding.onHold);
    out.end();
}

}  // namespace

void writeConfig(IStream* stream, const Config& config) {
    XmlOutput out(stream);
    out.start(L"tavrel");
    out.attribute(L"schemaVersion", std::wstring(L"4"));
    if (!config.language.empty()) out.attribute(L"language", config.language);
    out.attribute(L"compact", config.compact);
    out.attribute(L"autoUpdate", config.autoUpdate);
    out.attribute(L"width", static_cast<long long>(config.width));
    out.attribute(L"height", static_cast<long long>(config.height));
    for (const Binding& binding : config.bindings) writeBinding(out, binding);
    out.end();
    out.finish();
}

}  // namespace tavrel
