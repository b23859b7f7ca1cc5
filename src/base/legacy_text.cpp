#include "base/legacy_text.h"

#include <iconv.h>

#include <cctype>
#include <cerrno>

namespace kolt {

namespace {

class Converter {
public:
    Converter(const std::string& to, const std::string& from) : cd_(::iconv_open(to.c_str(), from.c_str())) {}
    ~Converter() {
        if (Ok()) ::iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of `in`; on a sequence it cannot convert calls `bad`, which
    // returns how many input bytes to skip (0 gives up).
    template <typename OnBad>
    bool Run(const std::string& in, std::string& out, OnBad bad) {
        char* src = const_cast<char*>(in.data());
        std::size_t left = in.size();
        char buf[256];
        while (true) {
            char* dst = buf;
            std::size_t room = sizeof buf;
            const std::size_t r = ::iconv(cd_, left ? &src : nullptr, left ? &left : nullptr, &dst, &room);
            out.append(buf, static_cast<std::size_t>(dst - buf));
            if (r != static_cast<std::size_t>(-1)) {
                if (left == 0) break;
                continue;
            }
            if (errno == E2BIG) continue;
            const std::size_t skip = bad(out);  // EILSEQ, or EINVAL: a sequence cut short at the end
            if (skip == 0) return false;
            const std::size_t n = skip < left ? skip : left;
            src += n;
            left -= n;
            ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            if (left == 0) break;
        }
        char buf2[64];
        char* dst = buf2;
        std::size_t room = sizeof buf2;
        ::iconv(cd_, nullptr, nullptr, &dst, &room);  // a stateful code page returns to its initial shift
        out.append(buf2, static_cast<std::size_t>(dst - buf2));
        return true;
    }

private:
    iconv_t cd_;
};

}  // namespace

std::string NormaliseCodePage(const std::string& name) {
    if (name.empty() || name.size() > 40) return {};
    std::string upper;
    for (unsigned char c : name) {
        // Plain names only: no "//TRANSLIT" or other suffixes, no locale default ("").
        if (!std::isalnum(c) && c != '-' && c != '_' && c != '.' && c != ':') return {};
        upper.push_back(static_cast<char>(std::toupper(c)));
    }
    if (!Converter("UTF-8", upper).Ok() || !Converter(upper, "UTF-8").Ok()) return {};
    return upper;
}

bool IsValidUtf8(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int len = 0;
        char32_t cp = 0;
        if (c < 0x80) len = 1, cp = c;
        else if (c >= 0xC2 && c <= 0xDF) len = 2, cp = c & 0x1F;
        else if (c >= 0xE0 && c <= 0xEF) len = 3, cp = c & 0x0F;
        else if (c >= 0xF0 && c <= 0xF4) len = 4, cp = c & 0x07;
        else return false;
        if (i + static_cast<std::size_t>(len) > s.size()) return false;
        for (int k = 1; k < len; ++k) {
            const auto b = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((b & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(len);
    }
    return true;
}

std::string DecodeCodePage(const std::string& bytes, const std::string& codePage) {
    std::string out;
    Converter conv("UTF-8", codePage);
    if (!conv.Ok()) {
        for (unsigned char c : bytes) out += c < 0x80 ? std::string(1, static_cast<char>(c)) : "\xEF\xBF\xBD";
        return out;
    }
    conv.Run(bytes, out, [](std::string& o) {
        o += "\xEF\xBF\xBD";
        return std::size_t{1};
    });
    return out;
}

std::optional<std::string> EncodeCodePage(const std::string& utf8, const std::string& codePage) {
    std::string out;
    Converter conv(codePage, "UTF-8");
    if (!conv.Ok() || !conv.Run(utf8, out, [](std::string&) { return std::size_t{0}; })) return std::nullopt;
    return out;
}

std::string FieldCodec::Text(const std::string& bytes) const {
    return IsValidUtf8(bytes) ? bytes : DecodeCodePage(bytes, codePage);
}

std::string FieldCodec::Stored(const std::string& utf8) const {
    if (!legacy) return utf8;
    std::optional<std::string> encoded = EncodeCodePage(utf8, codePage);
    // Text in the code page that reads as UTF-8 would be shown as UTF-8 next time.
    if (!encoded || (IsValidUtf8(*encoded) && *encoded != utf8)) return utf8;
    return *encoded;
}

}  // namespace kolt
