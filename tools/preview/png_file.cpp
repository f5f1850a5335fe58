#include <png.h>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <optional>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "tools/preview/output_target.h"
#include "tools/preview/png_image.h"
#include "tools/preview/preview_error.h"
#include "tools/preview/signal_cleanup.h"

namespace minihost::preview {
namespace {

// libpng reports errors by longjmp. The functions that call libpng set the
// jump point after every object with a destructor already exists and create
// none after it, so the jump skips no destructor; the objects are released
// when the function returns.
struct PngErrorText {
    char text[256] = "";
};

[[noreturn]] void onPngError(png_structp png, png_const_charp message) {
    auto* error = static_cast<PngErrorText*>(png_get_error_ptr(png));
    if (error != nullptr) {
        std::snprintf(error->text, sizeof error->text, "%s", message);
    }
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

// Owners of libpng's write and read state. They live in the frame that sets
// the jump point and exist before it, so a jump back leaves them intact and
// they release the state on the way out, whichever way that is.
struct PngWriter {
    png_structp png = nullptr;
    png_infop info = nullptr;
    explicit PngWriter(PngErrorText& error) {
        png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, onPngError, onPngWarning);
        info = png == nullptr ? nullptr : png_create_info_struct(png);
    }
    ~PngWriter() { png_destroy_write_struct(&png, &info); }
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;
};

struct PngReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    explicit PngReader(PngErrorText& error) {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, onPngError, onPngWarning);
        info = png == nullptr ? nullptr : png_create_info_struct(png);
    }
    ~PngReader() { png_destroy_read_struct(&png, &info, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;
};

// Below this level the rows go unfiltered: trying libpng's five filters on
// every row costs more time than the smaller file saves at these levels.
constexpr int kFirstFilteredLevel = 4;

// The row being handed to libpng, kept between files so that a sequence
// allocates it once per thread.
std::vector<unsigned char>& rowBuffer(std::size_t bytes) {
    thread_local std::vector<unsigned char> buffer;
    if (buffer.size() < bytes) {
        buffer.resize(bytes);
    }
    return buffer;
}

bool encode(std::FILE* file, const PngRowSource& image, int compression, PngErrorText& error) {
    const std::size_t row_bytes = std::size_t(image.width()) * 4 * std::size_t(image.bitDepth() / 8);
    unsigned char* row = rowBuffer(row_bytes).data();
    PngWriter writer(error);
    if (writer.info == nullptr) {
        std::snprintf(error.text, sizeof error.text, "out of memory");
        return false;
    }
    png_structp png = writer.png;
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, writer.info, static_cast<png_uint_32>(image.width()), static_cast<png_uint_32>(image.height()),
                 image.bitDepth(), PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, compression);
    if (compression < kFirstFilteredLevel) {
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    }
    png_write_info(png, writer.info);
    for (int y = 0; y < image.height(); ++y) {
        image.row(y, row);
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    return true;
}

// The temporary file beside the target; removed unless kept, also when a
// signal ends the tool while it exists.
class TempFile {
public:
    TempFile(const std::string& target, const std::string& name) {
        const std::filesystem::path p(target);
        const std::filesystem::path dir = p.has_parent_path() ? p.parent_path() : std::filesystem::path(".");
        std::string hidden = ".";  // appended, not chained: GCC 12 warns falsely on "." + temporary
        hidden += p.filename().string();
        hidden += ".tmp-XXXXXX";
        registered_.emplace((dir / hidden).string());
        const int fd = registered_->create();
        if (fd < 0) {
            throw InputError("cannot write \"" + name + "\": " + std::strerror(errno));
        }
        name_ = registered_->name();
        fchmod(fd, 0644);  // mkstemp makes the file private; an image is not
        file_ = fdopen(fd, "wb");
        if (file_ == nullptr) {
            close(fd);
            throw InputError("cannot write \"" + name + "\": " + std::strerror(errno));
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
        if (!name_.empty()) {
            std::remove(name_.c_str());
        }
    }

    std::FILE* file() { return file_; }

    // Closes the file and renames it to target; false (errno set) on failure.
    bool commit(const std::string& target) {
        std::FILE* f = file_;
        file_ = nullptr;
        const bool flushed = std::fflush(f) == 0 && fsync(fileno(f)) == 0;
        const int saved = errno;
        if (std::fclose(f) != 0 || !flushed) {
            errno = flushed ? errno : saved;
            return false;
        }
        if (std::rename(name_.c_str(), target.c_str()) != 0) {
            return false;
        }
        name_.clear();
        if (registered_) {
            registered_->release();
        }
        return true;
    }

private:
    std::string name_;
    std::optional<TemporaryName> registered_;  // destroyed after the file is removed
    std::FILE* file_ = nullptr;
};

// A device, FIFO or socket, or standard output: written as it is. Nothing
// can be taken back there, so a failure part-way leaves what was sent.
class StreamFile {
public:
    StreamFile(const OutputTarget& target, const std::string& name) {
        if (target.kind == TargetKind::kStdout) {
            if (isatty(STDOUT_FILENO) == 1) {
                throw InputError("cannot write \"-\": standard output is a terminal; redirect it to a file or a pipe");
            }
            file_ = stdout;
            return;
        }
        const int fd = target.kind == TargetKind::kSocket ? connectSocket(target.path)
                                                          : open(target.path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            throw InputError("cannot write \"" + name + "\": " + std::strerror(errno));
        }
        file_ = fdopen(fd, "wb");
        if (file_ == nullptr) {
            close(fd);
            throw InputError("cannot write \"" + name + "\": " + std::strerror(errno));
        }
        owned_ = true;
    }
    StreamFile(const StreamFile&) = delete;
    StreamFile& operator=(const StreamFile&) = delete;
    ~StreamFile() {
        if (owned_ && file_ != nullptr) {
            std::fclose(file_);
        }
    }

    std::FILE* file() { return file_; }

    // Flushes (and closes what it opened); false (errno set) on failure.
    bool finish() {
        if (std::fflush(file_) != 0) {
            return false;
        }
        if (owned_) {
            std::FILE* f = file_;
            file_ = nullptr;
            return std::fclose(f) == 0;
        }
        return true;
    }

private:
    static int connectSocket(const std::string& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (path.size() >= sizeof address.sun_path) {
            errno = ENAMETOOLONG;
            return -1;
        }
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            return -1;
        }
        if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            const int saved = errno;
            close(fd);
            errno = saved;
            return -1;
        }
        return fd;
    }

    std::FILE* file_ = nullptr;
    bool owned_ = false;
};

// A sample image as PNG rows.
class SampleRows final : public PngRowSource {
public:
    explicit SampleRows(const PngImage& image) : image_(image) {}
    int width() const override { return image_.width; }
    int height() const override { return image_.height; }
    int bitDepth() const override { return image_.bit_depth; }
    void row(int y, unsigned char* out) const override {
        const std::uint16_t* in = image_.pixel(0, y);
        const std::size_t samples = std::size_t(image_.width) * 4;
        if (image_.bit_depth == 8) {
            for (std::size_t i = 0; i < samples; ++i) {
                out[i] = static_cast<unsigned char>(std::min<std::uint16_t>(in[i], 255));
            }
        } else {
            for (std::size_t i = 0; i < samples; ++i) {
                out[2 * i] = static_cast<unsigned char>(in[i] >> 8);
                out[2 * i + 1] = static_cast<unsigned char>(in[i] & 0xff);
            }
        }
    }

private:
    const PngImage& image_;
};

}  // namespace

void writePngFile(const std::string& path, const PngImage& image, int compression) {
    if (image.rgba.size() != std::size_t(std::max(image.width, 0)) * std::size_t(std::max(image.height, 0)) * 4) {
        throw InputError("cannot write \"" + path + "\": the image is empty or malformed");
    }
    writePngFile(path, SampleRows(image), compression);
}

void writePngFile(const std::string& path, const PngRowSource& image, int compression) {
    if (image.width() <= 0 || image.height() <= 0 || (image.bitDepth() != 8 && image.bitDepth() != 16)) {
        throw InputError("cannot write \"" + path + "\": the image is empty or malformed");
    }
    if (compression < kMinPngCompression || compression > kMaxPngCompression) {
        throw InputError("cannot write \"" + path + "\": PNG compression " + std::to_string(compression) +
                         " is outside 0 to 9");
    }
    const OutputTarget target = resolveOutputTarget(path);
    PngErrorText error;
    if (target.kind != TargetKind::kReplace) {
        StreamFile stream(target, path);
        errno = 0;
        if (!encode(stream.file(), image, compression, error)) {
            // libpng says only "Write Error"; the system says why.
            throw InputError("cannot write \"" + path + "\": " +
                             (errno != 0      ? std::strerror(errno)
                              : error.text[0] ? error.text
                                              : "PNG encoding failed"));
        }
        if (!stream.finish()) {
            throw InputError("cannot write \"" + path + "\": " + std::strerror(errno));
        }
        return;
    }
    makeParentFolders(target.path);
    TempFile temp(target.path, path);
    errno = 0;
    if (!encode(temp.file(), image, compression, error)) {
        throw InputError("cannot write \"" + path + "\": " +
                         (errno != 0      ? std::strerror(errno)
                          : error.text[0] ? error.text
                                          : "PNG encoding failed"));
    }
    if (!temp.commit(target.path)) {
        throw InputError("cannot write \"" + path + "\": " + std::strerror(errno));
    }
}

namespace {

bool decode(std::FILE* file, PngImage& out, std::vector<unsigned char>& line, PngErrorText& error) {
    PngReader reader(error);
    if (reader.info == nullptr) {
        std::snprintf(error.text, sizeof error.text, "out of memory");
        return false;
    }
    png_structp png = reader.png;
    png_infop info = reader.info;
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xffff, PNG_FILLER_AFTER);
    const int depth = png_get_bit_depth(png, info) == 16 ? 16 : 8;
    if (depth == 16) {
        png_set_swap(png);
    }
    png_read_update_info(png, info);
    out.width = static_cast<int>(png_get_image_width(png, info));
    out.height = static_cast<int>(png_get_image_height(png, info));
    out.bit_depth = depth;
    const std::size_t rowbytes = png_get_rowbytes(png, info);
    if (out.width <= 0 || out.height <= 0 || rowbytes != std::size_t(out.width) * 4 * std::size_t(depth / 8)) {
        std::snprintf(error.text, sizeof error.text, "unexpected PNG layout");
        return false;
    }
    out.rgba.assign(std::size_t(out.width) * std::size_t(out.height) * 4, 0);
    line.resize(rowbytes);
    for (int y = 0; y < out.height; ++y) {
        if (depth == 16) {
            png_read_row(png, reinterpret_cast<png_bytep>(out.pixel(0, y)), nullptr);
        } else {
            png_read_row(png, line.data(), nullptr);
            std::copy(line.begin(), line.end(), out.pixel(0, y));
        }
    }
    return true;
}

}  // namespace

PngImage readPngFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        throw InputError("cannot read \"" + path + "\": " + std::strerror(errno));
    }
    PngImage image;
    std::vector<unsigned char> line;
    PngErrorText error;
    const bool ok = decode(file, image, line, error);
    std::fclose(file);
    if (!ok) {
        throw InputError("cannot read \"" + path + "\": " + (error.text[0] ? error.text : "not a PNG file"));
    }
    return image;
}

}  // namespace minihost::preview
