#include <gtest/gtest.h>

#include <cstring>
#include <shlobj.h>

#include "uilib/core/UIDataObject.h"
#include "uilib/core/UIDropSource.h"
#include "uilib/core/UIDropTarget.h"

using namespace SkinUI;

namespace {

FORMATETC MakeFormat(CLIPFORMAT format, DWORD tymed)
{
    FORMATETC f = {format, nullptr, DVASPECT_CONTENT, -1, tymed};
    return f;
}

HGLOBAL MakeText(const char* text)
{
    size_t size = std::strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(block), text, size);
    GlobalUnlock(block);
    return block;
}

std::string ReadText(HGLOBAL block)
{
    std::string text(static_cast<const char*>(GlobalLock(block)));
    GlobalUnlock(block);
    return text;
}

// A drop target living inside another object, as the paint manager does.
class EmbeddedTarget : public CIDropTarget {
public:
    bool HandleDroppedData(const FORMATETC& format, STGMEDIUM& medium, DWORD*) override
    {
        ++drops;
        lastFormat = format.cfFormat;
        if (medium.tymed == TYMED_HGLOBAL) lastText = ReadText(medium.hGlobal);
        return releaseMedium;
    }
    int drops = 0;
    int finalReleases = 0;
    CLIPFORMAT lastFormat = 0;
    std::string lastText;
    bool releaseMedium = true;

protected:
    void OnFinalRelease() override { ++finalReleases; }
};

CIDataObject* TextDataObject(const char* text)
{
    CIDataObject* data = new CIDataObject(nullptr);
    FORMATETC format = MakeFormat(CF_TEXT, TYMED_HGLOBAL);
    STGMEDIUM medium = {};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = MakeText(text);
    EXPECT_EQ(S_OK, data->SetData(&format, &medium, TRUE));
    return data;
}

} // namespace

TEST(DropSource, ContinueCancelOrDrop)
{
    CIDropSource* source = new CIDropSource;
    EXPECT_EQ(DRAGDROP_S_CANCEL, source->QueryContinueDrag(TRUE, MK_LBUTTON));
    EXPECT_EQ(S_OK, source->QueryContinueDrag(FALSE, MK_RBUTTON));
    EXPECT_FALSE(source->WasDropped());
    EXPECT_EQ(DRAGDROP_S_DROP, source->QueryContinueDrag(FALSE, 0));
    EXPECT_TRUE(source->WasDropped());
    EXPECT_EQ(DRAGDROP_S_USEDEFAULTCURSORS, source->GiveFeedback(DROPEFFECT_COPY));
    IUnknown* unknown = nullptr;
    EXPECT_EQ(S_OK, source->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    EXPECT_EQ(E_NOINTERFACE, source->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&unknown)));
    EXPECT_EQ(1u, source->Release());
    EXPECT_EQ(0u, source->Release());
}

TEST(DataObject, CopiedMediumSurvivesTheOriginal)
{
    CIDataObject* data = new CIDataObject(nullptr);
    FORMATETC format = MakeFormat(CF_TEXT, TYMED_HGLOBAL);
    STGMEDIUM medium = {};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = MakeText("hello");
    ASSERT_EQ(S_OK, data->SetData(&format, &medium, FALSE));
    ReleaseStgMedium(&medium);

    STGMEDIUM out = {};
    ASSERT_EQ(S_OK, data->GetData(&format, &out));
    EXPECT_EQ("hello", ReadText(out.hGlobal));
    ReleaseStgMedium(&out);

    FORMATETC other = MakeFormat(CF_UNICODETEXT, TYMED_HGLOBAL);
    EXPECT_EQ(DV_E_FORMATETC, data->GetData(&other, &out));
    EXPECT_EQ(E_INVALIDARG, data->GetData(nullptr, &out));
    EXPECT_EQ(E_INVALIDARG, data->SetData(&format, nullptr, TRUE));
    EXPECT_EQ(0u, data->Release());
}

TEST(DataObject, QueryGetDataAnswers)
{
    CIDataObject* empty = new CIDataObject(nullptr);
    FORMATETC text = MakeFormat(CF_TEXT, TYMED_HGLOBAL);
    EXPECT_EQ(DV_E_TYMED, empty->QueryGetData(&text));
    empty->Release();

    CIDataObject* data = TextDataObject("x");
    EXPECT_EQ(S_OK, data->QueryGetData(&text));
    FORMATETC wrongMedium = MakeFormat(CF_TEXT, TYMED_GDI);
    EXPECT_EQ(DV_E_TYMED, data->QueryGetData(&wrongMedium));
    FORMATETC wrongFormat = MakeFormat(CF_UNICODETEXT, TYMED_HGLOBAL);
    EXPECT_EQ(DV_E_CLIPFORMAT, data->QueryGetData(&wrongFormat));
    FORMATETC icon = text;
    icon.dwAspect = DVASPECT_ICON;
    EXPECT_EQ(DV_E_DVASPECT, data->QueryGetData(&icon));
    EXPECT_EQ(E_INVALIDARG, data->QueryGetData(nullptr));
    FORMATETC canon;
    EXPECT_EQ(DATA_S_SAMEFORMATETC, data->GetCanonicalFormatEtc(&text, &canon));
    EXPECT_EQ(E_INVALIDARG, data->GetCanonicalFormatEtc(&text, nullptr));
    EXPECT_EQ(OLE_E_ADVISENOTSUPPORTED, data->DAdvise(&text, 0, nullptr, nullptr));
    EXPECT_EQ(E_NOTIMPL, data->DUnadvise(0));
    data->Release();
}

TEST(DataObject, EnumeratorSkipNextAndClone)
{
    CIDataObject* data = TextDataObject("a");
    FORMATETC bitmap = MakeFormat(CF_BITMAP, TYMED_GDI);
    STGMEDIUM medium = {};
    medium.tymed = TYMED_GDI;
    medium.hBitmap = CreateBitmap(2, 2, 1, 32, nullptr);
    ASSERT_EQ(S_OK, data->SetData(&bitmap, &medium, TRUE));

    IEnumFORMATETC* e = nullptr;
    EXPECT_EQ(E_NOTIMPL, data->EnumFormatEtc(DATADIR_SET, &e));
    EXPECT_EQ(E_POINTER, data->EnumFormatEtc(DATADIR_GET, nullptr));
    ASSERT_EQ(S_OK, data->EnumFormatEtc(DATADIR_GET, &e));

    // Skipping to exactly the end is refused and leaves the cursor.
    EXPECT_EQ(S_FALSE, e->Skip(2));
    FORMATETC out[2];
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, e->Next(2, out, nullptr));
    EXPECT_EQ(S_OK, e->Next(1, out, &fetched));
    EXPECT_EQ(1u, fetched);
    EXPECT_EQ(CF_TEXT, out[0].cfFormat);

    IEnumFORMATETC* copy = nullptr;
    ASSERT_EQ(S_OK, e->Clone(&copy));
    EXPECT_EQ(S_OK, copy->Next(1, out, &fetched));
    EXPECT_EQ(CF_BITMAP, out[0].cfFormat);
    EXPECT_EQ(S_FALSE, copy->Next(1, out, &fetched));

    EXPECT_EQ(S_OK, e->Reset());
    EXPECT_EQ(S_FALSE, e->Next(3, out, &fetched));
    EXPECT_EQ(2u, fetched);
    copy->Release();
    e->Release();
    data->Release();
}

TEST(DropTarget, QueryDropPicksTheEffect)
{
    EmbeddedTarget target;
    target.AddSupportedFormat(MakeFormat(CF_TEXT, TYMED_HGLOBAL));
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_FALSE(target.QueryDrop(0, &effect));
    EXPECT_EQ(DROPEFFECT_NONE, effect);

    CIDataObject* data = TextDataObject("t");
    effect = DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(S_OK, target.DragEnter(data, 0, {0, 0}, &effect));
    EXPECT_EQ(DROPEFFECT_MOVE, effect);
    effect = DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_TRUE(target.QueryDrop(MK_CONTROL | MK_SHIFT, &effect));
    EXPECT_EQ(DROPEFFECT_LINK, effect);
    effect = DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_FALSE(target.QueryDrop(MK_CONTROL, &effect));
    EXPECT_EQ(DROPEFFECT_NONE, effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_TRUE(target.QueryDrop(MK_SHIFT, &effect));
    EXPECT_EQ(DROPEFFECT_MOVE, effect);
    EXPECT_EQ(S_OK, target.DragLeave());
    EXPECT_EQ(nullptr, target.ChosenFormat());
    data->Release();
}

TEST(DropTarget, DropHandsTheChosenFormatOverAndEndsWithNoEffect)
{
    EmbeddedTarget target;
    target.AddSupportedFormat(MakeFormat(CF_BITMAP, TYMED_GDI));
    target.AddSupportedFormat(MakeFormat(CF_TEXT, TYMED_HGLOBAL));
    CIDataObject* data = TextDataObject("dropped");
    DWORD effect = DROPEFFECT_COPY;
    ASSERT_EQ(S_OK, target.DragEnter(data, 0, {1, 1}, &effect));
    ASSERT_NE(nullptr, target.ChosenFormat());
    EXPECT_EQ(CF_TEXT, target.ChosenFormat()->cfFormat);
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, target.Drop(data, 0, {1, 1}, &effect));
    EXPECT_EQ(1, target.drops);
    EXPECT_EQ(CF_TEXT, target.lastFormat);
    EXPECT_EQ("dropped", target.lastText);
    EXPECT_EQ(DROPEFFECT_NONE, effect);
    EXPECT_EQ(nullptr, target.ChosenFormat());

    // Without a matching format nothing is handed over.
    CIDataObject* other = new CIDataObject(nullptr);
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, target.DragEnter(other, 0, {0, 0}, &effect));
    EXPECT_EQ(DROPEFFECT_NONE, effect);
    EXPECT_EQ(S_OK, target.Drop(other, 0, {0, 0}, &effect));
    EXPECT_EQ(1, target.drops);
    EXPECT_EQ(E_INVALIDARG, target.Drop(nullptr, 0, {0, 0}, &effect));
    other->Release();
    data->Release();
}

TEST(DropTarget, EmbeddedTargetIsNeverDeletedByItsReferenceCount)
{
    EmbeddedTarget target;
    IDropTarget* asInterface = nullptr;
    ASSERT_EQ(S_OK, target.QueryInterface(IID_IDropTarget, reinterpret_cast<void**>(&asInterface)));
    EXPECT_EQ(0u, asInterface->Release());
    EXPECT_EQ(1, target.finalReleases);
    // Still usable: the object was not deleted.
    target.AddRef();
    EXPECT_EQ(0u, target.Release());
    EXPECT_EQ(2, target.finalReleases);
    EXPECT_FALSE(target.RegisterWith(nullptr));
    EXPECT_FALSE(target.IsRegistered());
    target.RevokeRegistration();
}

TEST(DropTarget, RegistrationWithAWindowIsRevokedWithoutDeletingTheTarget)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    if (window == nullptr) GTEST_SKIP() << "no display for a window";
    {
        EmbeddedTarget target;
        ASSERT_TRUE(target.RegisterWith(window));
        EXPECT_TRUE(target.IsRegistered());
        EXPECT_EQ(window, target.TargetWindow());
        // OLE holds references while registered and gives them back on revoke.
        target.RevokeRegistration();
        EXPECT_FALSE(target.IsRegistered());
        EXPECT_GE(target.finalReleases, 1);
        // A second registration is revoked by the destructor.
        ASSERT_TRUE(target.RegisterWith(window));
    }
    // Nothing is registered any more: a new target can take the window.
    EmbeddedTarget next;
    EXPECT_TRUE(next.RegisterWith(window));
    next.RevokeRegistration();
    DestroyWindow(window);
}
