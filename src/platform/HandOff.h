#pragma once
// The hand-off of a file from a second start of the viewer to the one already running: message
// 1025 starts a path, each 1026 carries one UTF-16 code unit of it, and 1026 with 0 ends it.
// This part is the message sequence on both ends, free of any transport.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Name of the main window's class, and so of the channel both ends meet on.
inline constexpr const char HandOffWindowClass[] = "RUR0033";
inline constexpr uint32_t HandOffStartMessage = 1025;
inline constexpr uint32_t HandOffCharMessage = 1026;
// Longest path taken, in code units; a longer one is dropped whole rather than grown without end.
inline constexpr size_t HandOffMaxPathUnits = 32767;

struct THandOffMessage {
    uint32_t Msg;
    uint32_t WParam;
    friend bool operator==(const THandOffMessage&, const THandOffMessage&) = default;
};

// The messages that hand Path (UTF-8) over: 1025, one 1026 per code unit, 1026 with 0. A code
// unit 0 cannot be sent, so the path ends there.
std::vector<THandOffMessage> HandOffMessages(const std::string& path);

// The receiving side: feed it every message in order; it calls Open once a path is complete, with
// the full path of what exists there, or with the path as received when nothing does.
class THandOffReceiver {
public:
    using TOpen = std::function<void(const std::string& longFileName)>;
    explicit THandOffReceiver(TOpen open) : fOpen(std::move(open)) {}

    // True when the message belongs to the hand-off (1025, 1026).
    bool ApplicationMessage(uint32_t msg, uint32_t wParam);
    // The path received so far (UTF-8); kept after the closing 1026 until the next 1025.
    std::string ReceiveMessage() const;

private:
    TOpen fOpen;
    std::u16string fReceiveMessage;
    bool fOverflow = false;
};

// Wire form of a message sequence: 4 bytes each, message and parameter as little-endian 16-bit.
std::string EncodeHandOff(const std::vector<THandOffMessage>& messages);
// Appends the whole messages in Bytes to Messages and leaves an incomplete tail in Bytes.
void DecodeHandOff(std::string& bytes, std::vector<THandOffMessage>& messages);
