#include "sharedrt/FileReplace.h"
#include "sharedrt/ui/PngFile.h"

#include "sharedrt/RtError.h"

#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

namespace rt::ui {
namespace {

// One COM reference, released with its owner.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr()
    {
        if (p_)
            p_->Release();
    }
    T** put() { return &p_; }
    T* operator->() const { return p_; }
    T* get() const { return p_; }

private:
    T* p_ = nullptr;
};

// COM for this thread while it lives, unless the thread has it already.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope()
    {
        if (initialised_)
            CoUninitialize();
    }

private:
    bool initialised_;
};

void Check(HRESULT result, const std::string& what)
{
    if (FAILED(result)) {
        char code[16];
        wsprintfA(code, "%08lX", static_cast<unsigned long>(result));
        throw IoError(what + "（HRESULT 0x" + code + "）");
    }
}

std::wstring WidePath(const std::string& path)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? static_cast<std::size_t>(length) : 1, L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

void Encode(IWICImagingFactory* factory, const std::wstring& file, int width, int height,
            const std::vector<std::uint32_t>& pixels)
{
    ComPtr<IWICStream> stream;
    Check(factory->CreateStream(stream.put()), "无法创建图片文件");
    Check(stream->InitializeFromFilename(file.c_str(), GENERIC_WRITE), "无法创建图片文件");
    ComPtr<IWICBitmapEncoder> encoder;
    Check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put()), "系统没有PNG编码器");
    Check(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache), "无法写入图片文件");
    ComPtr<IWICBitmapFrameEncode> frame;
    Check(encoder->CreateNewFrame(frame.put(), nullptr), "无法写入图片文件");
    Check(frame->Initialize(nullptr), "无法写入图片文件");
    Check(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)), "无法写入图片文件");
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    Check(frame->SetPixelFormat(&format), "无法写入图片文件");
    if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR))
        throw IoError("系统的PNG编码器不接受24位RGB图片");
    // Rows of blue, green, red bytes, each padded to four bytes.
    const UINT stride = (static_cast<UINT>(width) * 3 + 3) & ~3u;
    std::vector<BYTE> rows(static_cast<std::size_t>(stride) * static_cast<UINT>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
            BYTE* out = &rows[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 3];
            out[0] = static_cast<BYTE>(p);
            out[1] = static_cast<BYTE>(p >> 8);
            out[2] = static_cast<BYTE>(p >> 16);
        }
    Check(frame->WritePixels(static_cast<UINT>(height), stride, static_cast<UINT>(rows.size()), rows.data()),
          "无法写入图片文件");
    Check(frame->Commit(), "无法写入图片文件");
    Check(encoder->Commit(), "无法写入图片文件");
    Check(stream->Commit(STGC_DEFAULT), "无法写入图片文件");
}

ComPtr<IWICImagingFactory>& Factory(ComPtr<IWICImagingFactory>& factory)
{
    Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                           reinterpret_cast<void**>(factory.put())),
          "系统没有图片编解码器");
    return factory;
}

} // namespace

void WritePngFile(const std::string& path, int width, int height, const std::vector<std::uint32_t>& pixels)
{
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        throw Error("图片的大小与像素数不符");
    const ComScope com;
    ComPtr<IWICImagingFactory> factory;
    Factory(factory);
    const std::string beside = ReplacementName(path);
    try {
        Encode(factory.get(), WidePath(beside), width, height, pixels);
    } catch (const IoError& e) {
        DeleteFileA(beside.c_str());
        throw IoError(std::string(e.what()) + "：" + path);
    }
    if (!MoveOver(beside, path)) {
        const DWORD error = GetLastError();
        DeleteFileA(beside.c_str());
        throw IoError("无法写入图片文件" + path + "（系统错误" + std::to_string(error) + "）");
    }
}

PngPicture ReadPictureFile(const std::string& path)
{
    const ComScope com;
    ComPtr<IWICImagingFactory> factory;
    Factory(factory);
    const std::wstring file = WidePath(path);
    ComPtr<IWICBitmapDecoder> decoder;
    Check(factory->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                             decoder.put()),
          "无法读取图片文件" + path);
    ComPtr<IWICBitmapFrameDecode> frame;
    Check(decoder->GetFrame(0, frame.put()), "无法读取图片文件" + path);
    ComPtr<IWICFormatConverter> converter;
    Check(factory->CreateFormatConverter(converter.put()), "无法读取图片文件" + path);
    Check(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                WICBitmapPaletteTypeCustom),
          "无法读取图片文件" + path);
    UINT width = 0;
    UINT height = 0;
    Check(converter->GetSize(&width, &height), "无法读取图片文件" + path);
    PngPicture picture;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.pixels.resize(static_cast<std::size_t>(width) * height);
    Check(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(picture.pixels.size() * 4),
                                reinterpret_cast<BYTE*>(picture.pixels.data())),
          "无法读取图片文件" + path);
    for (std::uint32_t& p : picture.pixels)
        p &= 0x00FFFFFF;
    return picture;
}

} // namespace rt::ui
