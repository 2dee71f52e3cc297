#include "ui/chart/PngFile.h"

#include "toolkit/DC.h"
#include "toolkit/Gdi.h"
#include "toolkit/TextConv.h"
#include "toolkit/UniqueOwner.h"

#include <objbase.h>
#include <wincodec.h>

namespace
{
struct ComTraits
{
    static void Free(IUnknown* object) { object->Release(); }
};
template <typename T> using ComRef = UniqueOwner<T*, ComTraits>;

// COM for this thread, for as long as the save takes; a thread that already runs COM keeps it.
class ScopedCom
{
public:
    ScopedCom() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ScopedCom()
    {
        if (initialised_)
            CoUninitialize();
    }
    ScopedCom(const ScopedCom&) = delete;
    ScopedCom& operator=(const ScopedCom&) = delete;

private:
    bool initialised_;
};

std::string SystemReason(HRESULT result)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = length ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!reason.empty() &&
           (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
        reason.pop_back();
    return WideToUtf8(reason);
}

// The rows of a 24-bit top-down bitmap as WIC takes them.
HRESULT Encode(const std::wstring& path, int width, int height, const BYTE* rows, UINT stride)
{
    IWICImagingFactory* rawFactory = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&rawFactory));
    const ComRef<IWICImagingFactory> factory(rawFactory);
    if (FAILED(hr))
        return hr;
    IWICStream* rawStream = nullptr;
    hr = factory.Get()->CreateStream(&rawStream);
    const ComRef<IWICStream> stream(rawStream);
    if (FAILED(hr) ||
        FAILED(hr = stream.Get()->InitializeFromFilename(path.c_str(), GENERIC_WRITE)))
        return hr;
    IWICBitmapEncoder* rawEncoder = nullptr;
    hr = factory.Get()->CreateEncoder(GUID_ContainerFormatPng, nullptr, &rawEncoder);
    const ComRef<IWICBitmapEncoder> encoder(rawEncoder);
    if (FAILED(hr) || FAILED(hr = encoder.Get()->Initialize(stream.Get(), WICBitmapEncoderNoCache)))
        return hr;
    IWICBitmapFrameEncode* rawFrame = nullptr;
    hr = encoder.Get()->CreateNewFrame(&rawFrame, nullptr);
    const ComRef<IWICBitmapFrameEncode> frame(rawFrame);
    if (FAILED(hr) || FAILED(hr = frame.Get()->Initialize(nullptr)) ||
        FAILED(hr = frame.Get()->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))))
        return hr;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(hr = frame.Get()->SetPixelFormat(&format)))
        return hr;
    if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR))
        return WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    if (FAILED(hr = frame.Get()->WritePixels(static_cast<UINT>(height), stride,
                                             stride * static_cast<UINT>(height),
                                             const_cast<BYTE*>(rows))) ||
        FAILED(hr = frame.Get()->Commit()) || FAILED(hr = encoder.Get()->Commit()))
        return hr;
    return S_OK;
}
} // namespace

bool SavePictureAsPng(const std::wstring& path, int width, int height,
                      const std::function<void(HDC dc, const RECT& area)>& draw,
                      std::string* reason)
{
    const auto fail = [&](HRESULT result)
    {
        if (reason)
            *reason = SystemReason(result);
        return false;
    };
    if (width <= 0 || height <= 0)
        return fail(E_INVALIDARG);

    const MemoryDcHandle dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, as WIC wants the rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    const BitmapHandle bitmap(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !bitmap)
        return fail(E_OUTOFMEMORY);
    {
        const ScopedSelectObject selected(dc.Get(), bitmap.Get());
        draw(dc.Get(), RECT{0, 0, width, height});
        GdiFlush();
    }
    const UINT stride = (static_cast<UINT>(width) * 3 + 3) & ~3u; // DIB rows are DWORD-aligned

    const ScopedCom com;
    const std::wstring temporary = path + L".tmp";
    HRESULT hr = Encode(temporary, width, height, static_cast<const BYTE*>(bits), stride);
    if (SUCCEEDED(hr) && !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        hr = HRESULT_FROM_WIN32(GetLastError());
    if (FAILED(hr))
    {
        DeleteFileW(temporary.c_str());
        return fail(hr);
    }
    return true;
}
