// D3D11CreateDevice and the device's answers: driver types, feature levels,
// the 11.1 interfaces, capabilities, removal, and reference counts.
#include "winapi/d3d11/d3d11_test_support.h"

#include "winapi/com/live_objects.h"

namespace {

// D3D11CreateDevice without an adapter, flags or context.
HRESULT Create(D3D_DRIVER_TYPE type, const D3D_FEATURE_LEVEL* levels, UINT count, ID3D11Device** device,
               D3D_FEATURE_LEVEL* level = nullptr, UINT sdkVersion = D3D11_SDK_VERSION)
{
    return D3D11CreateDevice(nullptr, type, nullptr, 0, levels, count, sdkVersion, device, level, nullptr);
}

using DeviceCreation = D3D11Test;

TEST_F(DeviceCreation, TheMemoryBackEndIsACpuDeviceOfLevel11_1)
{
    EXPECT_STREQ(HalvoD3D11_BackendName(device_.get()), "memory");
    EXPECT_EQ(level_, D3D_FEATURE_LEVEL_11_1);
    EXPECT_EQ(device_->GetFeatureLevel(), D3D_FEATURE_LEVEL_11_1);
    Ref<ID3D11Device> hardware;
    EXPECT_EQ(Create(D3D_DRIVER_TYPE_HARDWARE, kAllLevels, 7, hardware.Put()), DXGI_ERROR_UNSUPPORTED);
    EXPECT_FALSE(hardware);
}

TEST_F(DeviceCreation, ARuntimeWithout11_1RefusesTheListAndAcceptsItWithout11_1)
{
    HalvoD3D11_SetRuntimeKnowsLevel11_1(FALSE);
    HalvoD3D11_SetDriverType(D3D_DRIVER_TYPE_HARDWARE, D3D_FEATURE_LEVEL_11_0);
    Ref<ID3D11Device> device;
    D3D_FEATURE_LEVEL level = D3D_FEATURE_LEVEL_9_1;
    EXPECT_EQ(Create(D3D_DRIVER_TYPE_HARDWARE, kAllLevels, 7, device.Put(), &level), E_INVALIDARG);
    EXPECT_FALSE(device);
    EXPECT_EQ(Create(D3D_DRIVER_TYPE_HARDWARE, kAllLevels + 1, 6, device.Put(), &level), S_OK);
    EXPECT_EQ(level, D3D_FEATURE_LEVEL_11_0);
}

TEST_F(DeviceCreation, BadArgumentsAreRefused)
{
    Ref<ID3D11Device> device;
    EXPECT_EQ(Create(D3D_DRIVER_TYPE_WARP, kAllLevels, 7, device.Put(), nullptr, 6), E_INVALIDARG);
    EXPECT_EQ(Create(D3D_DRIVER_TYPE_WARP, kAllLevels, 0, device.Put()), E_INVALIDARG);
    const D3D_FEATURE_LEVEL unknown[] = {D3D_FEATURE_LEVEL(0xc000)};
    EXPECT_EQ(Create(D3D_DRIVER_TYPE_WARP, unknown, 1, device.Put()), E_INVALIDARG);
    EXPECT_EQ(Create(D3D_DRIVER_TYPE_UNKNOWN, nullptr, 0, device.Put()), E_INVALIDARG)
        << "the unknown driver type needs an adapter";
    HalvoD3D11_SetDriverType(D3D_DRIVER_TYPE_WARP, D3D_FEATURE_LEVEL_9_3);
    const D3D_FEATURE_LEVEL onlyHigh[] = {D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_10_0};
    EXPECT_EQ(Create(D3D_DRIVER_TYPE_WARP, onlyHigh, 2, device.Put()), E_INVALIDARG) << "the driver runs none";
    EXPECT_FALSE(device);
}

TEST_F(DeviceCreation, WithoutOutputPointersTheLevelIsAnsweredWithSFalse)
{
    D3D_FEATURE_LEVEL level = D3D_FEATURE_LEVEL_9_1;
    EXPECT_EQ(Create(D3D_DRIVER_TYPE_WARP, nullptr, 0, nullptr, &level), S_FALSE);
    EXPECT_EQ(level, D3D_FEATURE_LEVEL_11_0) << "the default list starts at 11_0";
}

TEST_F(DeviceCreation, Device1IsAnsweredOnlyWhereTheRuntimeHasIt)
{
    Ref<ID3D11Device1> device1;
    EXPECT_EQ(device_->QueryInterface(IID_PPV_ARGS(device1.Put())), S_OK);
    device1.Reset();
    context_.Reset();
    device_.Reset();
    HalvoD3D11_SetInterfacesPresent(TRUE, FALSE);
    ASSERT_EQ(MakeDevice(), S_OK);
    EXPECT_EQ(device_->QueryInterface(IID_PPV_ARGS(device1.Put())), E_NOINTERFACE);
    EXPECT_FALSE(device1);
}

TEST_F(DeviceCreation, ThePlannedFailureOfTheEntryPointIsAnswered)
{
    HalvoD3D11_FailCall("D3D11CreateDevice", 2, DXGI_ERROR_SDK_COMPONENT_MISSING);
    Ref<ID3D11Device> first;
    Ref<ID3D11Device> second;
    EXPECT_EQ(Create(D3D_DRIVER_TYPE_WARP, nullptr, 0, first.Put()), S_OK);
    EXPECT_EQ(Create(D3D_DRIVER_TYPE_WARP, nullptr, 0, second.Put()), DXGI_ERROR_SDK_COMPONENT_MISSING);
    EXPECT_FALSE(second);
}

using DeviceAnswers = D3D11Test;

TEST_F(DeviceAnswers, FormatSupportAnswersDisplayIndexAndVertexUsesAndRefusesTheUnknown)
{
    UINT support = 0;
    ASSERT_EQ(device_->CheckFormatSupport(DXGI_FORMAT_B8G8R8A8_UNORM, &support), S_OK);
    EXPECT_TRUE(support & D3D11_FORMAT_SUPPORT_DISPLAY);
    EXPECT_FALSE(support & D3D11_FORMAT_SUPPORT_TEXTURE3D) << "no 3D textures are made here";
    ASSERT_EQ(device_->CheckFormatSupport(DXGI_FORMAT_B8G8R8X8_UNORM, &support), S_OK);
    EXPECT_FALSE(support & D3D11_FORMAT_SUPPORT_IA_VERTEX_BUFFER);
    ASSERT_EQ(device_->CheckFormatSupport(DXGI_FORMAT_R16_UINT, &support), S_OK);
    EXPECT_TRUE(support & D3D11_FORMAT_SUPPORT_IA_INDEX_BUFFER);
    EXPECT_EQ(device_->CheckFormatSupport(DXGI_FORMAT_UNKNOWN, &support), E_FAIL);
    EXPECT_EQ(support, 0u);
    EXPECT_EQ(device_->CheckFormatSupport(DXGI_FORMAT_R8G8B8A8_UNORM, nullptr), E_INVALIDARG);
}

TEST_F(DeviceAnswers, FeatureSupportAnswersThreadingAndNineOptionsAndChecksSizes)
{
    D3D11_FEATURE_DATA_THREADING threading{};
    ASSERT_EQ(device_->CheckFeatureSupport(D3D11_FEATURE_THREADING, &threading, sizeof threading), S_OK);
    EXPECT_EQ(threading.DriverConcurrentCreates, TRUE);
    D3D11_FEATURE_DATA_D3D9_OPTIONS options{};
    ASSERT_EQ(device_->CheckFeatureSupport(D3D11_FEATURE_D3D9_OPTIONS, &options, sizeof options), S_OK);
    EXPECT_EQ(options.FullNonPow2TextureSupport, TRUE);
    EXPECT_EQ(device_->CheckFeatureSupport(D3D11_FEATURE_THREADING, &threading, 4), E_INVALIDARG);
    EXPECT_EQ(device_->CheckFeatureSupport(D3D11_FEATURE(99), &threading, sizeof threading), E_INVALIDARG);
    const D3D11_FEATURE_DATA_THREADING none{FALSE, FALSE};
    HalvoD3D11_SetFeatureAnswer(D3D11_FEATURE_THREADING, S_FALSE, &none, sizeof none);
    EXPECT_EQ(device_->CheckFeatureSupport(D3D11_FEATURE_THREADING, &threading, sizeof threading), S_FALSE);
    EXPECT_EQ(threading.DriverConcurrentCreates, FALSE);
}

TEST_F(DeviceAnswers, ARemovedDeviceSaysWhyAndMakesNothing)
{
    EXPECT_EQ(device_->GetDeviceRemovedReason(), S_OK);
    HalvoD3D11_RemoveDevice(device_.get(), DXGI_ERROR_DEVICE_HUNG);
    EXPECT_EQ(device_->GetDeviceRemovedReason(), DXGI_ERROR_DEVICE_HUNG);
    D3D11_BUFFER_DESC desc{16, D3D11_USAGE_DEFAULT, D3D11_BIND_CONSTANT_BUFFER, 0, 0, 0};
    Ref<ID3D11Buffer> buffer;
    EXPECT_EQ(device_->CreateBuffer(&desc, nullptr, buffer.Put()), DXGI_ERROR_DEVICE_REMOVED);
    EXPECT_FALSE(buffer);
}

TEST_F(DeviceAnswers, TheContextsReferencesKeepTheDeviceAndTheLastReleaseEndsBoth)
{
    const int64_t alive = halvo::com::LiveObjectCount();
    EXPECT_EQ(References(device_.get()), 1u);
    EXPECT_EQ(References(context_.get()), 1u);
    ID3D11Device* device = device_.get();
    EXPECT_EQ(device_.ReleaseAndCount(), 0u);
    EXPECT_EQ(halvo::com::LiveObjectCount(), alive) << "the context keeps the device";
    Ref<ID3D11Device> again;
    context_->GetDevice(again.Put());
    EXPECT_EQ(again.get(), device);
    again.Reset();
    EXPECT_EQ(context_.ReleaseAndCount(), 0u);
    EXPECT_LT(halvo::com::LiveObjectCount(), alive);
}

TEST_F(DeviceAnswers, ChildrenKeepTheDeviceWithoutShowingInItsCount)
{
    Ref<ID3D11Buffer> buffer = MakeBuffer(64, D3D11_USAGE_DEFAULT, D3D11_BIND_VERTEX_BUFFER);
    ASSERT_TRUE(buffer);
    EXPECT_EQ(References(device_.get()), 1u);
    context_.Reset();
    EXPECT_EQ(device_.ReleaseAndCount(), 0u);
    Ref<ID3D11Device> owner;
    buffer->GetDevice(owner.Put());
    ASSERT_TRUE(owner);
    D3D11_BUFFER_DESC read{};
    buffer->GetDesc(&read);
    EXPECT_EQ(read.ByteWidth, 64u);
}

TEST_F(DeviceAnswers, QueryInterfaceWalksBothInterfaceFamilies)
{
    Ref<IDXGIDevice> dxgiDevice;
    ASSERT_EQ(device_->QueryInterface(IID_PPV_ARGS(dxgiDevice.Put())), S_OK);
    Ref<IUnknown> viaDxgi;
    Ref<IUnknown> viaD3D;
    ASSERT_EQ(dxgiDevice->QueryInterface(IID_PPV_ARGS(viaDxgi.Put())), S_OK);
    ASSERT_EQ(device_->QueryInterface(IID_PPV_ARGS(viaD3D.Put())), S_OK);
    EXPECT_EQ(viaDxgi.get(), viaD3D.get()) << "one object, one IUnknown";
    Ref<ID3D11Texture2D> notATexture;
    EXPECT_EQ(device_->QueryInterface(IID_PPV_ARGS(notATexture.Put())), E_NOINTERFACE);
}

}  // namespace
