#include "config/config_reader.h"

#include "model/validation.h"
#include "sys/com_ptr.h"
#include "sys/error.h"
#include "sys/hresult.h"

#include <shlwapi.h>
#include <xmllite.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cwchar>
#include <initializer_list>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tavrel {

namespace {

// The format needs five levels (root, binding, list, action, parameter); the reader
// itself refuses anything deeper, so hostile nesting never reaches this code.
constexpr UINT maxElementDepth = 8;

using Attributes = std::map<std::wstring, std::wstring>;

// ---- Attribute values --------------------------------------------------------------

void checkNames(const Attributes& attributes, std::initializer_list<const wchar_t*> allowed) {
    for (const auto& [name, value] : attributes) {
        bool known = false;
        for (const wchar_t* candidate : allowed) known = known || name == candidate;
        if (!known) throw Error(L"Unknown XML attribute: " + name);
    }
}

const std::wstring* find(const Attributes& attributes, const wchar_t* name) {
    const auto found = attributes.find(name);
    return found == attributes.end() ? nullptr : &found->second;
}

const std::wstring& required(const Attributes& attributes, const wchar_t* name) {
    const std::wstring* value = find(attributes, name);
    if (!value) throw Error(std::wstring(L"Missing XML attribute: ") + name);
    return *value;
}

// Removes an optional attribute, so that the name check that follows does not see it.
std::optional<std::wstring> take(Attributes& attributes, const wchar_t* name) {
    const auto found = attributes.find(name);
    if (found == attributes.end()) return std::nullopt;
    std::wstring value = std::move(found->second);
    attributes.erase(found);
    return value;
}

bool toBoolean(const std::wstring& value, const wchar_t* name) {
    if (value == L"true") return true;
    if (value == L"false") return false;
    throw Error(std::wstring(L"Invalid boolean: ") + name);
}

std::int64_t toInteger(const std::wstring& value, const wchar_t* name, std::int64_t minimum, std::int64_t maximum) {
    const wchar_t* begin = value.c_str();
    wchar_t* end = nullptr;
    errno = 0;
    const long long number = std::wcstoll(begin, &end, 10);
    if (end == begin || errno == ERANGE) throw Error(std::wstring(L"Invalid integer: ") + name);
    // A value is consumed up to its terminator only when it holds no embedded null either.
    if (static_cast<std::size_t>(end - begin) != value.size() || number < minimum || number > maximum)
        throw Error(std::wstring(L"Out-of-range integer: ") + name);
    return number;
}

bool requiredBoolean(const Attributes& attributes, const wchar_t* name) {
    return toBoolean(required(attributes, name), name);
}

std::int64_t requiredInteger(const Attributes& attributes, const wchar_t* name, std::int64_t minimum,
                             std::int64_t maximum) {
    return toInteger(required(attributes, name), name, minimum, maximum);
}

// ---- Element attributes ------------------------------------------------------------

void readRoot(const Attributes& attributes, Config& config) {
    checkNames(attributes, {L"schemaVersion", L"autoUpdate", L"height", L"width", L"compact", L"language"});
    const std::wstring& version = required(attributes, L"schemaVersion");
    if (version != L"1" && version != L"2" && version != L"3" && version != L"4")
        throw Error(L"Unsupported config schemaVersion. File was not changed.");
    config.autoUpdate = requiredBoolean(attributes, L"autoUpdate");
    if (const std::wstring* language = find(attributes, L"language")) {
        static constexpr std::array<const wchar_t*, 7> codes = {L"en", L"uk", L"ka", L"ca", L"es", L"fr", L"de"};
        bool known = false;
        for (const wchar_t* code : codes) known = known || *language == code;
        if (!known) throw Error(L"Unknown language.");
        config.language = *language;
    }
    if (const std::wstring* compact = find(attributes, L"compact")) config.compact = toBoolean(*compact, L"compact");
    config.width = static_cast<std::int32_t>(requiredInteger(attributes, L"width", 500, 8000));
    config.height = static_cast<std::int32_t>(requiredInteger(attributes, L"height", 300, 8000));
}

void readBinding(const Attributes& attributes, Binding& binding) {
    checkNames(attributes, {L"holdEnabled", L"enabled", L"id", L"holdThresholdMs", L"keepOriginalFunction"});
    binding.id = required(attributes, L"id");
    binding.enabled = requiredBoolean(attributes, L"enabled");
    binding.keepOriginalFunction = requiredBoolean(attributes, L"keepOriginalFunction");
    binding.holdThresholdMs = static_cast<std::uint32_t>(requiredInteger(attributes, L"holdThresholdMs", 200, 3000));
    if (const std::wstring* holdEnabled = find(attributes, L"holdEnabled"))
        binding.holdEnabled = toBoolean(*holdEnabled, L"holdEnabled");
}

// The four trigger attributes, shared by a binding's trigger and a key action's key.
Trigger readTriggerValues(const Attributes& attributes) {
    Trigger trigger;
    const std::wstring& kind = required(attributes, L"kind");
    if (kind == L"keyboard") {
        trigger.mouse = false;
    } else if (kind == L"mouse") {
        trigger.mouse = true;
    } else {
        throw Error(L"Unknown trigger kind.");
    }
    trigger.code = static_cast<std::uint32_t>(requiredInteger(attributes, L"code", 1, 127));
    trigger.extended = requiredBoolean(attributes, L"extended");
    trigger.modifiers = static_cast<std::uint32_t>(requiredInteger(attributes, L"modifiers", 0, 15));
    return trigger;
}

std::optional<ActionType> actionTypeOf(const std::wstring& text) {
    static constexpr std::array<std::pair<const wchar_t*, ActionType>, 7> types = {{
        {L"url", ActionType::url},
        {L"program", ActionType::program},
        {L"key", ActionType::key},
        {L"click", ActionType::click},
        {L"delay", ActionType::delay},
        {L"text", ActionType::text},
        {L"layout", ActionType::layout},
    }};
    for (const auto& [name, type] : types)
        if (text == name) return type;
    return std::nullopt;
}

Action readAction(Attributes attributes) {
    Action action;
    const std::wstring typeText = required(attributes, L"type");
    const std::optional<ActionType> type = actionTypeOf(typeText);
    if (const auto enabled = take(attributes, L"enabled")) action.enabled = toBoolean(*enabled, L"enabled");
    if (type == ActionType::program) {
        if (const auto activate = take(attributes, L"activate")) action.activate = toBoolean(*activate, L"activate");
    }
    if (type == ActionType::click) {
        if (const auto client = take(attributes, L"client")) action.client = toBoolean(*client, L"client");
    }
    if (type == ActionType::program || type == ActionType::click) {
        if (const auto policy = take(attributes, L"windowPolicy"))
            action.windowPolicy = static_cast<WindowPolicy>(toInteger(*policy, L"windowPolicy", 0, 2));
    }
    if (!type) throw Error(L"Unknown action type: " + typeText);
    action.type = *type;

    constexpr std::int64_t int32Min = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t int32Max = std::numeric_limits<std::int32_t>::max();
    switch (*type) {
    case ActionType::url:
    case ActionType::program:
    case ActionType::text:
        checkNames(attributes, {L"type"});
        break;
    case ActionType::layout:
        checkNames(attributes, {L"type", L"id", L"name"});
        action.layoutId = required(attributes, L"id");
        if (const std::wstring* name = find(attributes, L"name")) action.layoutName = *name;
        break;
    case ActionType::key:
        checkNames(attributes, {L"type", L"kind", L"code", L"extended", L"modifiers"});
        action.key = readTriggerValues(attributes);
        break;
    case ActionType::click:
        checkNames(attributes, {L"type", L"x", L"y", L"button", L"count"});
        action.x = static_cast<std::int32_t>(requiredInteger(attributes, L"x", int32Min, int32Max));
        action.y = static_cast<std::int32_t>(requiredInteger(attributes, L"y", int32Min, int32Max));
        action.button = static_cast<std::int32_t>(requiredInteger(attributes, L"button", 1, 5));
        action.count = static_cast<std::int32_t>(requiredInteger(attributes, L"count", 1, 2));
        break;
    case ActionType::delay:
        checkNames(attributes, {L"type", L"ms"});
        action.delayMs = static_cast<std::uint32_t>(requiredInteger(attributes, L"ms", 0, 600000));
        break;
    }
    return action;
}

// ---- Text parameters of actions ----------------------------------------------------

struct TextParameter {
    const wchar_t* name;
    std::wstring Action::*field;
    bool (*fits)(ActionType);
};

bool isUrl(ActionType type) { return type == ActionType::url; }
bool isText(ActionType type) { return type == ActionType::text; }
bool isProgram(ActionType type) { return type == ActionType::program; }
bool hasWindow(ActionType type) { return type == ActionType::program || type == ActionType::click; }

constexpr std::array<TextParameter, 8> textParameters = {{
    {L"url", &Action::value, isUrl},
    {L"executable", &Action::value, isProgram},
    {L"arguments", &Action::arguments, isProgram},
    {L"directory", &Action::directory, isProgram},
    {L"text", &Action::value, isText},
    {L"windowExe", &Action::windowExe, hasWindow},
    {L"windowTitle", &Action::windowTitle, hasWindow},
    {L"windowClass", &Action::windowClass, hasWindow},
}};

// ---- The document ------------------------------------------------------------------

// Which of its four children a binding has had so far.
enum BindingPart : unsigned { partName = 1, partTrigger = 2, partOnPress = 4, partOnHold = 8 };
constexpr unsigned allBindingParts = partName | partTrigger | partOnPress | partOnHold;

class ConfigParser {
public:
    explicit ConfigParser(IXmlReader* reader) : reader_(reader) {}

    Config parse() {
        for (;;) {
            XmlNodeType type = XmlNodeType_None;
            const HRESULT result = reader_->Read(&type);
            checkHresult(result, L"Parse config.xml");
            if (result != S_OK) break;  // S_FALSE: the end of the input
            switch (type) {
            case XmlNodeType_Text:
            case XmlNodeType_CDATA:
            case XmlNodeType_DocumentType:
                throw Error(L"Unexpected text or entity in config.");
            case XmlNodeType_EndElement:
                endElement();
                break;
            case XmlNodeType_Element:
                startElement();
                break;
            default:
                break;  // white space, comments, processing instructions, the declaration
            }
        }
        if (!rootSeen_ || !open_.empty()) throw Error(L"Incomplete config.xml.");
        std::wstring message = validateConfig(config_);
        if (!message.empty()) throw Error(std::move(message));
        return std::move(config_);
    }

private:
    void endElement() {
        if (open_.empty()) throw Error(L"Unexpected XML closing element.");
        if (open_.back() == L"binding" && bindingParts_ != allBindingParts)
            throw Error(L"Binding requires trigger, onPress and onHold.");
        open_.pop_back();
    }

    void startElement() {
        std::wstring name = text(&IXmlReader::GetLocalName, L"Read XML name");
        if (!text(&IXmlReader::GetNamespaceUri, L"Read namespace").empty())
            throw Error(L"XML namespaces are not supported.");
        Attributes attributes = collectAttributes();
        const bool empty = reader_->IsEmptyElement() != FALSE;
        static const std::wstring none;
        const std::wstring& parent = open_.empty() ? none : open_.back();

        if (name == L"tavrel" && open_.empty() && !rootSeen_) {
            rootSeen_ = true;
            readRoot(attributes, config_);
        } else if (name == L"binding" && parent == L"tavrel") {
            Binding binding;
            readBinding(attributes, binding);
            config_.bindings.push_back(std::move(binding));
            bindingParts_ = 0;
            if (empty) throw Error(L"Binding is missing its trigger and actions.");
        } else if (name == L"name" && parent == L"binding" && !(bindingParts_ & partName)) {
            bindingParts_ |= partName;
            checkNames(attributes, {});
            config_.bindings.back().name = readText(empty);
            return;
        } else if (const TextParameter* parameter = findTextParameter(name); parameter && parent == L"action") {
            readParameter(*parameter, attributes, empty);
            return;
        } else if (name == L"trigger" && parent == L"binding" && !(bindingParts_ & partTrigger)) {
            bindingParts_ |= partTrigger;
            checkNames(attributes, {L"kind", L"code", L"extended", L"modifiers"});
            config_.bindings.back().trigger = readTriggerValues(attributes);
        } else if ((name == L"onPress" || name == L"onHold") && parent == L"binding") {
            const unsigned part = name == L"onPress" ? partOnPress : partOnHold;
            checkNames(attributes, {});
            if (bindingParts_ & part) throw Error(L"Duplicate action list.");
            bindingParts_ |= part;
        } else if (name == L"action" && (parent == L"onPress" || parent == L"onHold")) {
            Binding& binding = config_.bindings.back();
            currentList_ = parent == L"onPress" ? &binding.onPress : &binding.onHold;
            currentList_->push_back(readAction(std::move(attributes)));
            parametersSeen_ = 0;
        } else {
            throw Error(L"Unexpected XML element: " + name);
        }
        if (!empty) open_.push_back(std::move(name));
    }

    static const TextParameter* findTextParameter(const std::wstring& name) {
        for (const TextParameter& parameter : textParameters)
            if (name == parameter.name) return &parameter;
        return nullptr;
    }

    void readParameter(const TextParameter& parameter, const Attributes& attributes, bool empty) {
        checkNames(attributes, {});
        const unsigned bit = 1u << (&parameter - textParameters.data());
        if (parametersSeen_ & bit) throw Error(L"Duplicate action parameter.");
        parametersSeen_ |= bit;
        Action& action = currentList_->back();
        if (!parameter.fits(action.type)) throw Error(L"Unexpected action parameter.");
        action.*parameter.field = readText(empty);
    }

    // The character content of a text element, consumed up to its end tag.
    std::wstring readText(bool empty) {
        std::wstring content;
        if (empty) return content;
        for (;;) {
            XmlNodeType type = XmlNodeType_None;
            const HRESULT result = reader_->Read(&type);
            checkHresult(result, L"Read text element");
            if (result != S_OK) throw Error(L"Unclosed XML text element.");
            switch (type) {
            case XmlNodeType_Text:
            case XmlNodeType_CDATA:
            case XmlNodeType_Whitespace: {
                const wchar_t* value = nullptr;
                UINT length = 0;
                checkHresult(reader_->GetValue(&value, &length), L"Read XML text");
                content.append(value, length);
                break;
            }
            case XmlNodeType_EndElement:
                return content;
            default:
                throw Error(L"Unexpected nested XML in text field.");
            }
        }
    }

    Attributes collectAttributes() {
        Attributes attributes;
        HRESULT result = reader_->MoveToFirstAttribute();
        while (result == S_OK) {
            std::wstring name = text(&IXmlReader::GetLocalName, L"Read XML attribute");
            std::wstring value = text(&IXmlReader::GetValue, L"Read XML value");
            // xmlns declarations carry the XML namespace's own URI, so they are caught here too.
            const bool inNamespace = !text(&IXmlReader::GetNamespaceUri, L"Read XML namespace").empty();
            if (inNamespace || !attributes.emplace(std::move(name), std::move(value)).second)
                throw Error(L"Unknown namespace or duplicate XML attribute.");
            result = reader_->MoveToNextAttribute();
        }
        checkHresult(result, L"Read XML attribute");
        checkHresult(reader_->MoveToElement(), L"Read XML attribute");
        return attributes;
    }

    std::wstring text(HRESULT (STDMETHODCALLTYPE IXmlReader::*get)(LPCWSTR*, UINT*), const wchar_t* operation) {
        const wchar_t* value = nullptr;
        UINT length = 0;
        checkHresult((reader_->*get)(&value, &length), operation);
        return value ? std::wstring(value, length) : std::wstring();
    }

    IXmlReader* reader_;
    Config config_;
    std::vector<std::wstring> open_;
    bool rootSeen_ = false;
    unsigned bindingParts_ = 0;
    std::vector<Action>* currentList_ = nullptr;
    unsigned parametersSeen_ = 0;
};

ComPtr<IStream> openForReading(const std::filesystem::path& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    checkWin32(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) != FALSE, L"Read config file");
    if (data.nFileSizeHigh != 0 || data.nFileSizeLow > maxConfigBytes) throw Error(L"Config exceeds 8 MiB.");
    ComPtr<IStream> stream;
    checkHresult(SHCreateStreamOnFileEx(path.c_str(), STGM_READ | STGM_SHARE_DENY_WRITE, FILE_ATTRIBUTE_NORMAL,
                                        FALSE, nullptr, stream.put()),
                 L"Open config.xml");
    return stream;
}

ComPtr<IXmlReader> createReader(IStream* stream) {
    ComPtr<IXmlReader> reader;
    checkHresult(CreateXmlReader(__uuidof(IXmlReader), reader.putVoid(), nullptr), L"Create XML reader");
    checkHresult(reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit), L"Disable DTD");
    checkHresult(reader->SetProperty(XmlReaderProperty_XmlResolver, 0), L"Disable external entities");
    checkHresult(reader->SetProperty(XmlReaderProperty_MaxElementDepth, maxElementDepth), L"Limit XML depth");
    checkHresult(reader->SetInput(stream), L"Read XML input");
    return reader;
}

}  // namespace

Config loadConfig(const std::filesystem::path& path) {
    const ComPtr<IStream> stream = openForReading(path);
    const ComPtr<IXmlReader> reader = createReader(stream.get());
    return ConfigParser(reader.get()).parse();
}

}  // namespace tavrel
