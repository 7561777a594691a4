#pragma once
// Deterministic damage to a valid config.xml for the reader's fuzz test: byte flips,
// truncation, duplicated, reordered and removed lines (the writer puts one element on a
// line), deep nesting, huge attributes and texts, invalid UTF-8, byte-order marks,
// other encodings and stray markup.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace tavrel::test {

// The largest single attribute or text the mutations insert.
inline constexpr std::size_t maxInsertedRun = 16384;

class Mutator {
public:
    explicit Mutator(std::uint64_t seed) : random_(seed) {}

    std::string mutate(std::string text) {
        const int rounds = 1 + static_cast<int>(below(3));
        for (int i = 0; i < rounds; ++i) text = once(std::move(text));
        return text;
    }

private:
    std::size_t below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(random_() % n); }

    std::vector<std::string> lines(const std::string& text) {
        std::vector<std::string> result;
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find('\n', start);
            const std::size_t next = end == std::string::npos ? text.size() : end + 1;
            result.push_back(text.substr(start, next - start));
            start = next;
        }
        return result;
    }

    static std::string join(const std::vector<std::string>& parts) {
        std::string text;
        for (const std::string& part : parts) text += part;
        return text;
    }

    // A position just after one of the occurrences of the needle, or npos.
    std::size_t after(const std::string& text, const std::string& needle) {
        std::vector<std::size_t> found;
        for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
            found.push_back(at + needle.size());
        return found.empty() ? std::string::npos : found[below(found.size())];
    }

    std::string insertAt(std::string text, std::size_t at, const std::string& what) {
        if (at == std::string::npos) at = below(text.size() + 1);
        text.insert(std::min(at, text.size()), what);
        return text;
    }

    std::string once(std::string text) {
        static const std::vector<std::string> badUtf8 = {"\xC3\x28", "\xFF", "\xC0\xAF", "\xED\xA0\x80",
                                                         "\xF4\x90\x80\x80", "\x80", "\xE2\x82"};
        static const std::vector<std::string> boms = {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF",
                                                      "\xEF\xBB\xBF\xEF\xBB\xBF", "\xEF\xBB", "\x00\x00\xFE\xFF"};
        static const std::vector<std::string> tokens = {
            "&amp;", "&#0;", "&#xD800;", "&bogus;", "<![CDATA[", "]]>", "<!--", "-->", "<?pi x?>",
            "<!DOCTYPE tavrel [<!ENTITY e \"x\">]>", " xmlns=\"urn:x\"", " xmlns:p=\"urn:x\"", "<p:a/>",
            "</binding>", "<binding>", "\"", "<", ">", "=", "<name>x</name>", "<action type=\"delay\" ms=\"1\"/>",
            "<onHold/>", " enabled=\"true\"", std::string("\0", 1)};
        static const std::vector<std::string> encodings = {"UTF-16", "ISO-8859-1", "bogus", "UTF-32", "utf-8"};
        if (text.empty()) return tokens[below(tokens.size())];
        switch (below(13)) {
        case 0: {  // flip bits of one byte
            text[below(text.size())] ^= static_cast<char>(1 + below(255));
            return text;
        }
        case 1:  // cut the end off
            text.resize(below(text.size()));
            return text;
        case 2: {  // duplicate a line
            std::vector<std::string> parts = lines(text);
            const std::size_t at = below(parts.size());
            parts.insert(parts.begin() + static_cast<std::ptrdiff_t>(at), parts[at]);
            return join(parts);
        }
        case 3: {  // swap two lines
            std::vector<std::string> parts = lines(text);
            std::swap(parts[below(parts.size())], parts[below(parts.size())]);
            return join(parts);
        }
        case 4: {  // remove a line
            std::vector<std::string> parts = lines(text);
            parts.erase(parts.begin() + static_cast<std::ptrdiff_t>(below(parts.size())));
            return join(parts);
        }
        case 5: {  // deep nesting, of unknown or of real element names
            const std::size_t depth = 1 + below(40);
            const std::string name = below(2) ? "a" : (below(2) ? "binding" : "onPress");
            std::string nest;
            for (std::size_t i = 0; i < depth; ++i) nest += "<" + name + ">";
            for (std::size_t i = 0; i < depth; ++i) nest += "</" + name + ">";
            return insertAt(std::move(text), after(text, ">"), nest);
        }
        case 6:  // a huge attribute value, or a huge new attribute
            if (below(2)) return insertAt(std::move(text), after(text, "=\""), std::string(1 + below(maxInsertedRun), 'A'));
            return insertAt(std::move(text), after(text, "<tavrel"),
                            " huge=\"" + std::string(1 + below(maxInsertedRun), 'B') + "\"");
        case 7:  // a huge text
            return insertAt(std::move(text), below(2) ? after(text, "<text>") : after(text, "<name>"),
                            std::string(1 + below(maxInsertedRun), below(2) ? 'T' : ' '));
        case 8:
            return insertAt(std::move(text), std::string::npos, badUtf8[below(badUtf8.size())]);
        case 9:  // byte-order marks: added, doubled, cut or removed
            if (text.rfind("\xEF\xBB\xBF", 0) == 0 && below(2)) return text.substr(3);
            return boms[below(boms.size())] + text;
        case 10: {  // another declared encoding
            const std::size_t at = text.find("UTF-8");
            if (at == std::string::npos) return text;
            return text.replace(at, 5, encodings[below(encodings.size())]);
        }
        case 11: {  // the same document as UTF-16 (little endian, with its mark)
            std::string wide = "\xFF\xFE";
            for (char c : text) {
                wide += c;
                wide += '\0';
            }
            return wide;
        }
        default:
            return insertAt(std::move(text), std::string::npos, tokens[below(tokens.size())]);
        }
    }

    std::mt19937_64 random_;
};

}  // namespace tavrel::test
