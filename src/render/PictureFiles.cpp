#include "render/PictureFiles.h"

#include "base/Translate.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <jpeglib.h>
// jerror.h after jpeglib.h: it names the message codes.
#include <jerror.h>
#include <png.h>

namespace {

std::string ErrnoText(int error) {
    return std::strerror(error);
}

TPictureStatus Fail(TPictureStatus status, std::string text, std::string& reason) {
    reason = std::move(text);
    return status;
}

class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd) : fFd(fd) {}
    ~TFileDescriptor() {
        if (fFd >= 0) ::close(fFd);
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    int Get() const { return fFd; }

private:
    int fFd;
};

TPictureStatus NotARegularFile(const struct stat& st, std::string& reason) {
    if (S_ISDIR(st.st_mode))
        return Fail(TPictureStatus::psNotAFile, _("It is a folder, not a picture file."), reason);
    return Fail(TPictureStatus::psNotAFile, _("It is not a regular file."), reason);
}

TPictureStatus FileTooLarge(uint64_t size, uint64_t limit, std::string& reason) {
    return Fail(TPictureStatus::psTooLarge,
                FormatText(_("The file is %s bytes long; a picture may have %s bytes at most."),
                           {std::to_string(size), std::to_string(limit)}),
                reason);
}

TPictureStatus ReadFileBytes(const std::string& fileName, uint64_t maxBytes, std::vector<uint8_t>& bytes,
                             std::string& reason) {
    // Looked at before opening: opening a device may already do something.
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            return Fail(TPictureStatus::psMissing, _("The file does not exist."), reason);
        return Fail(TPictureStatus::psUnreadable, FormatText(_("It cannot be read: %s."), {ErrnoText(error)}),
                    reason);
    }
    if (!S_ISREG(st.st_mode)) return NotARegularFile(st, reason);
    if (uint64_t(st.st_size) > maxBytes) return FileTooLarge(uint64_t(st.st_size), maxBytes, reason);

    // The name may have been given to a FIFO since: without O_NONBLOCK its open would wait for
    // a writer for ever. What was opened is checked again on the descriptor.
    TFileDescriptor fd(::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.Get() < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            return Fail(TPictureStatus::psMissing, _("The file does not exist."), reason);
        return Fail(TPictureStatus::psUnreadable, FormatText(_("It cannot be read: %s."), {ErrnoText(error)}),
                    reason);
    }
    if (::fstat(fd.Get(), &st) != 0)
        return Fail(TPictureStatus::psUnreadable, FormatText(_("It cannot be read: %s."), {ErrnoText(errno)}),
                    reason);
    if (!S_ISREG(st.st_mode)) return NotARegularFile(st, reason);
    if (uint64_t(st.st_size) > maxBytes) return FileTooLarge(uint64_t(st.st_size), maxBytes, reason);

    // A file that grows while it is read is cut off one byte past the limit and refused.
    bytes.clear();
    bytes.reserve(size_t(st.st_size));
    uint8_t buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            return Fail(TPictureStatus::psUnreadable,
                        FormatText(_("It cannot be read: %s."), {ErrnoText(errno)}), reason);
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
        if (bytes.size() > maxBytes) return FileTooLarge(bytes.size(), maxBytes, reason);
    }
    return TPictureStatus::psOk;
}

TPictureStatus CheckDimensions(uint64_t width, uint64_t height, const TPictureLimits& limits,
                               std::string& reason) {
    if (width == 0 || height == 0)
        return Fail(TPictureStatus::psDamaged, _("The picture has no pixels."), reason);
    if (width > uint64_t(std::max(limits.MaxSide, 0)) || height > uint64_t(std::max(limits.MaxSide, 0)) ||
        width * height > uint64_t(std::max<int64_t>(limits.MaxPixels, 0)))
        return Fail(TPictureStatus::psTooLarge,
                    FormatText(_("The picture is %s x %s pixels, more than the viewer shows."),
                               {std::to_string(width), std::to_string(height)}),
                    reason);
    return TPictureStatus::psOk;
}

// ---------------------------------------------------------------------------------------------
// PNG: libpng's simplified reader keeps its own error recovery inside the library.

TPictureStatus DecodePng(std::span<const uint8_t> bytes, const TPictureLimits& limits, TRgbaImage& out,
                         std::string& reason) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    const auto damaged = [&] {
        std::string text = png.message;
        png_image_free(&png);
        return Fail(TPictureStatus::psDamaged, FormatText(_("The PNG picture is damaged: %s."), {text}),
                    reason);
    };
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) return damaged();
    if (const auto s = CheckDimensions(png.width, png.height, limits, reason); s != TPictureStatus::psOk) {
        png_image_free(&png);
        return s;
    }
    png.format = PNG_FORMAT_RGBA;
    TRgbaImage image;
    image.Width = int(png.width);
    image.Height = int(png.height);
    image.Pixels.resize(size_t(png.width) * png.height * 4);
    if (!png_image_finish_read(&png, nullptr, image.Pixels.data(), 0, nullptr)) return damaged();
    png_image_free(&png);
    out = std::move(image);
    return TPictureStatus::psOk;
}

// ---------------------------------------------------------------------------------------------
// JPEG: libjpeg reports errors through a handler that must not return; it jumps back to the
// setjmp in RunJpeg. Only C frames lie between the two, and everything RunJpeg changes after
// the setjmp lives in the caller's frame, so the jump skips no destructor and loses no state.

// A progressive picture may hold any number of scans, each costing a pass over the whole
// picture; real ones have a dozen.
constexpr int MaxJpegScans = 500;

struct TJpegErrors {
    jpeg_error_mgr Manager;
    jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegJump(j_common_ptr cinfo) {
    longjmp(reinterpret_cast<TJpegErrors*>(cinfo->err)->Jump, 1);
}

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<TJpegErrors*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->Message);
    JpegJump(cinfo);
}

void JpegEmitMessage(j_common_ptr cinfo, int level) {
    // Most warnings are about data the decoder could step over, and the picture still shows.
    // Running out of data is not: the rest of the picture would be made up.
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) JpegErrorExit(cinfo);
}

void JpegProgress(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > MaxJpegScans) {
        auto* errors = reinterpret_cast<TJpegErrors*>(cinfo->err);
        std::snprintf(errors->Message, sizeof errors->Message, "more than %d scans", MaxJpegScans);
        JpegJump(cinfo);
    }
}

// Refused: the header was read and the picture is not decoded; the reason has been given.
enum class TJpegStep : uint8_t { Decoded, Failed, Refused };

// Adobe's CMYK pictures store the inks inverted, others as they are.
void CmykRowToRgba(const uint8_t* src, uint8_t* dst, unsigned width, bool inverted) {
    for (unsigned x = 0; x < width; ++x, src += 4, dst += 4) {
        unsigned c = src[0], m = src[1], y = src[2], k = src[3];
        if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        dst[0] = uint8_t((c * k + 127) / 255);
        dst[1] = uint8_t((m * k + 127) / 255);
        dst[2] = uint8_t((y * k + 127) / 255);
        dst[3] = 255;
    }
}

void RgbRowToRgba(const uint8_t* src, uint8_t* dst, unsigned width) {
    for (unsigned x = 0; x < width; ++x, src += 3, dst += 4) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
        dst[3] = 255;
    }
}

TJpegStep RunJpeg(jpeg_decompress_struct& cinfo, TJpegErrors& errors, jpeg_progress_mgr& progress,
                  std::span<const uint8_t> bytes, const TPictureLimits& limits, TRgbaImage& image,
                  std::vector<uint8_t>& row, TPictureStatus& refusal, std::string& reason) {
    cinfo.err = jpeg_std_error(&errors.Manager);
    errors.Manager.error_exit = JpegErrorExit;
    errors.Manager.emit_message = JpegEmitMessage;
    if (setjmp(errors.Jump)) return TJpegStep::Failed;

    jpeg_create_decompress(&cinfo);
    progress.progress_monitor = JpegProgress;
    cinfo.progress = &progress;
    // Past the pixel budget there is nothing to keep: libjpeg fails instead of spilling to disk.
    cinfo.mem->max_memory_to_use =
        long(std::min<int64_t>(std::max<int64_t>(limits.MaxPixels, 0) * 16, LONG_MAX));
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    refusal = CheckDimensions(cinfo.image_width, cinfo.image_height, limits, reason);
    if (refusal != TPictureStatus::psOk) return TJpegStep::Refused;

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const unsigned width = cinfo.output_width;
    image.Width = int(width);
    image.Height = int(cinfo.output_height);
    image.Pixels.resize(size_t(width) * cinfo.output_height * 4);
    row.resize(size_t(width) * unsigned(cinfo.output_components));
    while (cinfo.output_scanline < cinfo.output_height) {
        const size_t y = cinfo.output_scanline;
        JSAMPROW rows[] = {row.data()};
        if (jpeg_read_scanlines(&cinfo, rows, 1) != 1) return TJpegStep::Failed;
        uint8_t* dst = image.Pixels.data() + y * width * 4;
        if (cmyk)
            CmykRowToRgba(row.data(), dst, width, cinfo.saw_Adobe_marker);
        else
            RgbRowToRgba(row.data(), dst, width);
    }
    jpeg_finish_decompress(&cinfo);
    return TJpegStep::Decoded;
}

TPictureStatus DecodeJpeg(std::span<const uint8_t> bytes, const TPictureLimits& limits, TRgbaImage& out,
                          std::string& reason) {
    jpeg_decompress_struct cinfo{};
    TJpegErrors errors{};
    jpeg_progress_mgr progress{};
    TRgbaImage image;
    std::vector<uint8_t> row;
    TPictureStatus refusal = TPictureStatus::psOk;
    TJpegStep step = TJpegStep::Failed;
    try {
        step = RunJpeg(cinfo, errors, progress, bytes, limits, image, row, refusal, reason);
    } catch (...) {
        jpeg_destroy_decompress(&cinfo);
        throw;
    }
    jpeg_destroy_decompress(&cinfo);
    switch (step) {
    case TJpegStep::Decoded:
        out = std::move(image);
        return TPictureStatus::psOk;
    case TJpegStep::Refused:
        return refusal;
    case TJpegStep::Failed:
        break;
    }
    const std::string text = errors.Message[0] != '\0' ? errors.Message : "no picture data";
    return Fail(TPictureStatus::psDamaged, FormatText(_("The JPEG picture is damaged: %s."), {text}), reason);
}

bool StartsWith(std::span<const uint8_t> bytes, std::span<const uint8_t> signature) {
    return bytes.size() >= signature.size() && std::equal(signature.begin(), signature.end(), bytes.begin());
}

} // namespace

TPictureStatus DecodePicture(std::span<const uint8_t> bytes, TRgbaImage& image, std::string& reason,
                             const TPictureLimits& limits) {
    static constexpr uint8_t pngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    static constexpr uint8_t jpegSignature[] = {0xFF, 0xD8, 0xFF};
    try {
        if (StartsWith(bytes, pngSignature)) return DecodePng(bytes, limits, image, reason);
        if (StartsWith(bytes, jpegSignature)) return DecodeJpeg(bytes, limits, image, reason);
    } catch (const std::bad_alloc&) {
        return Fail(TPictureStatus::psTooLarge, _("There is not enough memory for the picture."), reason);
    }
    if (bytes.empty()) return Fail(TPictureStatus::psUnknownFormat, _("The file is empty."), reason);
    return Fail(TPictureStatus::psUnknownFormat, _("It is neither a PNG nor a JPEG picture."), reason);
}

TPictureStatus ReadPictureFile(const std::string& fileName, TRgbaImage& image, std::string& reason,
                               const TPictureLimits& limits) {
    std::vector<uint8_t> bytes;
    if (const auto s = ReadFileBytes(fileName, limits.MaxFileBytes, bytes, reason); s != TPictureStatus::psOk)
        return s;
    return DecodePicture(bytes, image, reason, limits);
}
