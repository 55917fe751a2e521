#include "platform/HandOff.h"

#include "platform/DirectoryHandling.h"

#include <filesystem>

namespace {

std::u16string Utf8ToUtf16(const std::string& Text) {
    std::u16string Result;
    for (size_t I = 0; I < Text.size();) {
        const auto Lead = static_cast<unsigned char>(Text[I]);
        uint32_t Code = 0xFFFD;
        size_t Length = 1;
        if (Lead < 0x80)
            Code = Lead;
        else if (Lead >= 0xC2 && Lead < 0xE0)
            Length = 2, Code = Lead & 0x1F;
        else if (Lead >= 0xE0 && Lead < 0xF0)
            Length = 3, Code = Lead & 0x0F;
        else if (Lead >= 0xF0 && Lead < 0xF5)
            Length = 4, Code = Lead & 0x07;
        bool Valid = Length == 1 ? Lead < 0x80 : I + Length <= Text.size();
        for (size_t K = 1; Valid && K < Length; ++K) {
            const auto Next = static_cast<unsigned char>(Text[I + K]);
            if ((Next & 0xC0) != 0x80)
                Valid = false;
            else
                Code = (Code << 6) | (Next & 0x3F);
        }
        if (!Valid) {
            Code = 0xFFFD;
            Length = 1;
        }
        if (Code >= 0x10000) {
            Code -= 0x10000;
            Result += static_cast<char16_t>(0xD800 + (Code >> 10));
            Result += static_cast<char16_t>(0xDC00 + (Code & 0x3FF));
        } else {
            Result += static_cast<char16_t>(Code);
        }
        I += Length;
    }
    return Result;
}

std::string Utf16ToUtf8(const std::u16string& Text) {
    std::string Result;
    for (size_t I = 0; I < Text.size(); ++I) {
        uint32_t Code = Text[I];
        if (Code >= 0xD800 && Code < 0xDC00 && I + 1 < Text.size() && Text[I + 1] >= 0xDC00 &&
            Text[I + 1] < 0xE000)
            Code = 0x10000 + ((Code - 0xD800) << 10) + (Text[++I] - 0xDC00);
        else if (Code >= 0xD800 && Code < 0xE000)
            Code = 0xFFFD; // a lone surrogate names no character
        if (Code < 0x80) {
            Result += static_cast<char>(Code);
        } else if (Code < 0x800) {
            Result += static_cast<char>(0xC0 | (Code >> 6));
            Result += static_cast<char>(0x80 | (Code & 0x3F));
        } else if (Code < 0x10000) {
            Result += static_cast<char>(0xE0 | (Code >> 12));
            Result += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
            Result += static_cast<char>(0x80 | (Code & 0x3F));
        } else {
            Result += static_cast<char>(0xF0 | (Code >> 18));
            Result += static_cast<char>(0x80 | ((Code >> 12) & 0x3F));
            Result += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
            Result += static_cast<char>(0x80 | (Code & 0x3F));
        }
    }
    return Result;
}

} // namespace

std::vector<THandOffMessage> HandOffMessages(const std::string& Path) {
    std::vector<THandOffMessage> Messages{{HandOffStartMessage, 0}};
    for (char16_t Unit : Utf8ToUtf16(Path)) {
        if (Unit == 0) break;
        Messages.push_back({HandOffCharMessage, Unit});
    }
    Messages.push_back({HandOffCharMessage, 0});
    return Messages;
}

bool THandOffReceiver::ApplicationMessage(uint32_t Msg, uint32_t WParam) {
    if (Msg == HandOffStartMessage) {
        fReceiveMessage.clear();
        fOverflow = false;
        return true;
    }
    if (Msg != HandOffCharMessage) return false;
    const auto Unit = static_cast<char16_t>(WParam & 0xFFFF);
    if (Unit != 0) {
        if (fReceiveMessage.size() < HandOffMaxPathUnits)
            fReceiveMessage += Unit;
        else
            fOverflow = true;
        return true;
    }
    if (fOverflow || fReceiveMessage.empty()) return true;
    const std::string Path = Utf16ToUtf8(fReceiveMessage);
    std::error_code Error;
    if (!std::filesystem::exists(std::filesystem::path(Path), Error)) return true;
    const std::string LongName = GetLongFileName(Path);
    if (!LongName.empty() && fOpen) fOpen(LongName);
    return true;
}

std::string THandOffReceiver::ReceiveMessage() const {
    return Utf16ToUtf8(fReceiveMessage);
}

std::string EncodeHandOff(const std::vector<THandOffMessage>& Messages) {
    std::string Bytes;
    Bytes.reserve(Messages.size() * 4);
    for (const THandOffMessage& M : Messages) {
        Bytes += static_cast<char>(M.Msg & 0xFF);
        Bytes += static_cast<char>((M.Msg >> 8) & 0xFF);
        Bytes += static_cast<char>(M.WParam & 0xFF);
        Bytes += static_cast<char>((M.WParam >> 8) & 0xFF);
    }
    return Bytes;
}

void DecodeHandOff(std::string& Bytes, std::vector<THandOffMessage>& Messages) {
    size_t At = 0;
    const auto Byte = [&](size_t I) { return static_cast<uint32_t>(static_cast<unsigned char>(Bytes[I])); };
    for (; At + 4 <= Bytes.size(); At += 4)
        Messages.push_back({Byte(At) | (Byte(At + 1) << 8), Byte(At + 2) | (Byte(At + 3) << 8)});
    Bytes.erase(0, At);
}
