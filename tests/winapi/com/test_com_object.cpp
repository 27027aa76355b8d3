// The shared IUnknown: interface chains, handed-out and internal reference
// counts, and the live-object count, on a small interface family of the test's own.
#include <gtest/gtest.h>
#include <windows.h>

#include "winapi/com/com_object.h"
#include "winapi/com/live_objects.h"

namespace {

DEFINE_GUID(IID_ITestShape, 0x1a2b3c4d, 0x0001, 0x4000, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01);
DEFINE_GUID(IID_ITestSquare, 0x1a2b3c4d, 0x0002, 0x4000, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02);
DEFINE_GUID(IID_ITestColour, 0x1a2b3c4d, 0x0003, 0x4000, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03);

struct ITestShape : public IUnknown {
    virtual int STDMETHODCALLTYPE Corners() = 0;
};
struct ITestSquare : public ITestShape {
    virtual int STDMETHODCALLTYPE Side() = 0;
};
struct ITestColour : public IUnknown {
    virtual int STDMETHODCALLTYPE Red() = 0;
};

}  // namespace

DECLARE_UUIDOF(ITestShape, IID_ITestShape);
DECLARE_UUIDOF(ITestSquare, IID_ITestSquare);
DECLARE_UUIDOF(ITestColour, IID_ITestColour);

namespace {

int g_lastReleases = 0;

class Square final : public halvo::com::Object<ITestSquare, ITestShape> {
public:
    int STDMETHODCALLTYPE Corners() override { return 4; }
    int STDMETHODCALLTYPE Side() override { return 3; }

private:
    void LastReferenceReleased() override { ++g_lastReleases; }
};

// Answers a second interface beside its chain, and refuses its base when told to.
class ColouredSquare final : public halvo::com::Object<ITestSquare, ITestShape>, public ITestColour {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        return Object::QueryInterface(riid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return Object::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return Object::Release(); }
    int STDMETHODCALLTYPE Corners() override { return 4; }
    int STDMETHODCALLTYPE Side() override { return 5; }
    int STDMETHODCALLTYPE Red() override { return 255; }

    bool refuseShape = false;

private:
    void* FindInterface(REFIID riid) override
    {
        if (riid == IID_ITestColour) return static_cast<ITestColour*>(this);
        if (refuseShape && riid == IID_ITestShape) return nullptr;
        return FindInChain(riid);
    }
};

TEST(ComObject, QueryInterfaceAnswersTheChainWithOneObjectAndRefusesTheRest)
{
    Square* square = new Square;
    void* unknown = nullptr;
    ITestShape* shape = nullptr;
    void* same = nullptr;
    ASSERT_EQ(square->QueryInterface(IID_IUnknown, &unknown), S_OK);
    ASSERT_EQ(square->QueryInterface(IID_PPV_ARGS(&shape)), S_OK);
    ASSERT_EQ(square->QueryInterface(IID_ITestSquare, &same), S_OK);
    EXPECT_EQ(shape->Corners(), 4);
    EXPECT_EQ(same, static_cast<ITestSquare*>(square));
    EXPECT_EQ(unknown, static_cast<IUnknown*>(square));
    void* colour = &colour;
    EXPECT_EQ(square->QueryInterface(IID_ITestColour, &colour), E_NOINTERFACE);
    EXPECT_EQ(colour, nullptr);
    EXPECT_EQ(square->QueryInterface(__uuidof(ITestShape), nullptr), E_POINTER);
    EXPECT_EQ(square->AddRef(), 5u) << "refused queries take no reference";
    for (ULONG left = 5; left-- > 0;) EXPECT_EQ(square->Release(), left);
}

TEST(ComObject, AnObjectCanAnswerBeyondItsChainOrRefusePartOfIt)
{
    ColouredSquare* square = new ColouredSquare;
    ITestColour* colour = nullptr;
    ASSERT_EQ(square->QueryInterface(IID_PPV_ARGS(&colour)), S_OK);
    EXPECT_EQ(colour->Red(), 255);
    colour->Release();
    square->refuseShape = true;
    ITestShape* shape = nullptr;
    EXPECT_EQ(square->QueryInterface(IID_PPV_ARGS(&shape)), E_NOINTERFACE);
    EXPECT_EQ(square->Release(), 0u);
}

TEST(ComObject, InternalReferencesKeepTheObjectWithoutShowingInTheCountsAndExtraReleasesChangeNothing)
{
    const int64_t before = halvo::com::LiveObjectCount();
    g_lastReleases = 0;
    Square* square = new Square;
    EXPECT_EQ(halvo::com::LiveObjectCount(), before + 1);
    square->AddInternalReference();
    EXPECT_EQ(square->AddRef(), 2u);
    EXPECT_EQ(square->Release(), 1u);
    EXPECT_EQ(square->Release(), 0u);
    EXPECT_EQ(g_lastReleases, 1);
    EXPECT_EQ(halvo::com::LiveObjectCount(), before + 1) << "the internal reference keeps it";
    EXPECT_EQ(square->Side(), 3);
    EXPECT_EQ(square->AddRef(), 1u) << "a handed-out reference can be taken again";
    EXPECT_EQ(square->Release(), 0u);
    EXPECT_EQ(g_lastReleases, 2);
    // More releases than references change nothing.
    EXPECT_EQ(square->Release(), 0u);
    EXPECT_EQ(square->HandedOutReferences(), 0u);
    EXPECT_EQ(square->Corners(), 4);
    EXPECT_EQ(g_lastReleases, 2);
    square->ReleaseInternalReference();
    EXPECT_EQ(halvo::com::LiveObjectCount(), before);
}

}  // namespace
