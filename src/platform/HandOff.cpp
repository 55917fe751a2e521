#include "platform/HandOff.h"

#include "platform/DirectoryHandling.h"

#include <filesystem>

namespace {

std::u16string Utf8ToUtf16(const std::string& text) {
    std::u16string result;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        uint32_t code = 0xFFFD;
        size_t length = 1;
        if (lead < 0x80)
            code = lead;
        else if (lead >= 0xC2 && lead < 0xE0)
            length = 2, code = lead & 0x1F;
        else if (lead >= 0xE0 && lead < 0xF0)
            length = 3, code = lead & 0x0F;
        else if (lead >= 0xF0 && lead < 0xF5)
            length = 4, code = lead & 0x07;
        bool valid = length == 1 ? lead < 0x80 : i + length <= text.size();
        for (size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                valid = false;
            else
                code = (code << 6) | (next & 0x3F);
        }
        if (!valid) {
            code = 0xFFFD;
            length = 1;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            result += static_cast<char16_t>(0xD800 + (code >> 10));
            result += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            result += static_cast<char16_t>(code);
        }
        i += length;
    }
    return result;
}

std::string Utf16ToUtf8(const std::u16string& text) {
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t code = text[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000)
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (code >= 0xD800 && code < 0xE000)
            code = 0xFFFD; // a lone surrogate names no character
        if (code < 0x80) {
            result += static_cast<char>(code);
        } else if (code < 0x800) {
            result += static_cast<char>(0xC0 | (code >> 6));
            result += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            result += static_cast<char>(0xE0 | (code >> 12));
            result += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            result += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            result += static_cast<char>(0xF0 | (code >> 18));
            result += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            result += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            result += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return result;
}

} // namespace

std::vector<THandOffMessage> HandOffMessages(const std::string& path) {
    std::vector<THandOffMessage> messages{{HandOffStartMessage, 0}};
    for (char16_t unit : Utf8ToUtf16(path)) {
        if (unit == 0) break;
        messages.push_back({HandOffCharMessage, unit});
    }
    messages.push_back({HandOffCharMessage, 0});
    return messages;
}

bool THandOffReceiver::ApplicationMessage(uint32_t msg, uint32_t wParam) {
    if (msg == HandOffStartMessage) {
        fReceiveMessage.clear();
        fOverflow = false;
        return true;
    }
    if (msg != HandOffCharMessage) return false;
    const auto unit = static_cast<char16_t>(wParam & 0xFFFF);
    if (unit != 0) {
        if (fReceiveMessage.size() < HandOffMaxPathUnits)
            fReceiveMessage += unit;
        else
            fOverflow = true;
        return true;
    }
    if (fOverflow || fReceiveMessage.empty()) return true;
    // A path that names nothing is handed on as it came, so that the window says why it cannot
    // open it rather than dropping it without a word.
    const std::string path = Utf16ToUtf8(fReceiveMessage);
    const std::string longName = GetLongFileName(path);
    if (fOpen) fOpen(longName.empty() ? path : longName);
    return true;
}

std::string THandOffReceiver::ReceiveMessage() const {
    return Utf16ToUtf8(fReceiveMessage);
}

std::string EncodeHandOff(const std::vector<THandOffMessage>& messages) {
    std::string bytes;
    bytes.reserve(messages.size() * 4);
    for (const THandOffMessage& m : messages) {
        bytes += static_cast<char>(m.Msg & 0xFF);
        bytes += static_cast<char>((m.Msg >> 8) & 0xFF);
        bytes += static_cast<char>(m.WParam & 0xFF);
        bytes += static_cast<char>((m.WParam >> 8) & 0xFF);
    }
    return bytes;
}

void DecodeHandOff(std::string& bytes, std::vector<THandOffMessage>& messages) {
    size_t at = 0;
    const auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])); };
    for (; at + 4 <= bytes.size(); at += 4)
        messages.push_back({byte(at) | (byte(at + 1) << 8), byte(at + 2) | (byte(at + 3) << 8)});
    bytes.erase(0, at);
}
