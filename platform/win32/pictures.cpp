#include "platform/win32/pictures.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>
#include <string>

#include "platform/core/platform_error.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_error.h"

namespace norvessa::platform::win32 {
namespace {

[[noreturn]] void unreadable(std::string_view fileName, const std::string& why) {
    throw PlatformError("cannot read the picture " + std::string(fileName) + ": " + why);
}

template <typename Value>
Value readAt(std::span<const std::byte> bytes, std::size_t offset, std::string_view fileName) {
    if (offset > bytes.size() || bytes.size() - offset < sizeof(Value)) {
        unreadable(fileName, "the file is cut short");
    }
    Value value;
    std::memcpy(&value, bytes.data() + offset, sizeof(Value));
    return value;
}

// A BMP file: a file header, the bitmap's information header (with its colour table, if any)
// and the pixel rows from bfOffBits.
HBITMAP decodeBmp(std::span<const std::byte> bytes, std::string_view fileName) {
    const auto file = readAt<BITMAPFILEHEADER>(bytes, 0, fileName);
    const auto info = readAt<BITMAPINFOHEADER>(bytes, sizeof(BITMAPFILEHEADER), fileName);
    if (info.biCompression != BI_RGB || info.biWidth <= 0 || info.biHeight == 0) {
        unreadable(fileName, "not an uncompressed bitmap");
    }
    const auto rowBytes =
        ((static_cast<std::size_t>(info.biWidth) * info.biBitCount + 31) / 32) * 4;
    const auto rows = static_cast<std::size_t>(info.biHeight < 0 ? -info.biHeight : info.biHeight);
    if (file.bfOffBits > bytes.size() || bytes.size() - file.bfOffBits < rowBytes * rows) {
        unreadable(fileName, "the pixel rows are cut short");
    }
    const auto* header = reinterpret_cast<const BITMAPINFO*>(bytes.data() + sizeof(file));
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, header, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bitmap == nullptr) {
        throwLastError("CreateDIBSection for the picture " + std::string(fileName));
    }
    std::memcpy(pixels, bytes.data() + file.bfOffBits, rowBytes * rows);
    return bitmap;
}

// Other formats (JPEG) through the system's picture decoder.
HBITMAP decodeWithOle(std::span<const std::byte> bytes, std::string_view fileName) {
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (copy == nullptr) {
        throwLastError("GlobalAlloc for the picture " + std::string(fileName));
    }
    std::memcpy(GlobalLock(copy), bytes.data(), bytes.size());
    GlobalUnlock(copy);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
        GlobalFree(copy);
        unreadable(fileName, "no stream over its bytes");
    }
    IPicture* picture = nullptr;
    const HRESULT loaded = OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE,
                                          IID_IPicture, reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(loaded) || picture == nullptr) {
        unreadable(fileName, "the system cannot decode it (OleLoadPicture " +
                                 std::to_string(static_cast<unsigned long>(loaded)) + ")");
    }
    OLE_HANDLE handle = 0;
    picture->get_Handle(&handle);
    // The picture object owns its bitmap; the copy outlives it.
    auto* bitmap =
        static_cast<HBITMAP>(CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)),
                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    picture->Release();
    if (bitmap == nullptr) {
        throwLastError("CopyImage for the picture " + std::string(fileName));
    }
    return bitmap;
}

}  // namespace

std::span<const std::byte> carriedFile(std::string_view fileName) {
    const std::wstring name = widen(fileName);
    const HMODULE program = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(program, name.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (found == nullptr) {
        throw PlatformError("the program does not carry the picture " + std::string(fileName));
    }
    HGLOBAL loaded = checked(LoadResource(program, found), "LoadResource " + std::string(fileName));
    const auto* bytes = static_cast<const std::byte*>(LockResource(loaded));
    return {bytes, SizeofResource(program, found)};
}

HBITMAP loadPicture(std::string_view fileName) {
    const std::span<const std::byte> bytes = carriedFile(fileName);
    if (bytes.size() >= 2 && bytes[0] == std::byte{'B'} && bytes[1] == std::byte{'M'}) {
        return decodeBmp(bytes, fileName);
    }
    return decodeWithOle(bytes, fileName);
}

HICON loadIcon(std::string_view fileName, int size) {
    const std::span<const std::byte> bytes = carriedFile(fileName);
    // An icon file: a 6-byte directory head, then one 16-byte entry per image (width and height
    // as one byte each, 0 meaning 256; the image's length and offset at bytes 8 and 12).
    const auto count = readAt<WORD>(bytes, 4, fileName);
    int best = -1;
    int bestSize = 0;
    for (int index = 0; index < count; ++index) {
        const std::size_t entry = 6 + 16 * static_cast<std::size_t>(index);
        const auto width = readAt<BYTE>(bytes, entry, fileName);
        const int imageSize = width == 0 ? 256 : width;
        const bool better = best < 0 || (bestSize < size && imageSize > bestSize) ||
                            (imageSize >= size && imageSize < bestSize);
        if (better) {
            best = index;
            bestSize = imageSize;
        }
    }
    if (best < 0) {
        unreadable(fileName, "the icon holds no image");
    }
    const std::size_t entry = 6 + 16 * static_cast<std::size_t>(best);
    const auto length = readAt<DWORD>(bytes, entry + 8, fileName);
    const auto offset = readAt<DWORD>(bytes, entry + 12, fileName);
    if (offset > bytes.size() || bytes.size() - offset < length) {
        unreadable(fileName, "an image is cut short");
    }
    // The bytes are not written to, despite the call's signature.
    auto* image = reinterpret_cast<BYTE*>(const_cast<std::byte*>(bytes.data() + offset));
    constexpr DWORD kIconFormatVersion = 0x00030000;
    HICON icon = CreateIconFromResourceEx(image, length, TRUE, kIconFormatVersion, size, size,
                                          LR_DEFAULTCOLOR);
    if (icon == nullptr) {
        throwLastError("CreateIconFromResourceEx for the icon " + std::string(fileName));
    }
    return icon;
}

}  // namespace norvessa::platform::win32
