#include "shell/ole.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "toolkit/com.h"

namespace yomitron::shell {
namespace {

// An object that counts its references and answers QueryInterface with a fixed result.
class CountedObject : public IUnknown {
 public:
  explicit CountedObject(HRESULT queryResult = E_NOINTERFACE) : queryResult_(queryResult) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = SUCCEEDED(queryResult_) ? this : nullptr;
    if (*out) AddRef();
    return queryResult_;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override {
    ++releases;
    return --references;
  }

  ULONG references = 1;
  int releases = 0;

 private:
  HRESULT queryResult_;
};

// An interface identifier no object offers.
constexpr GUID kUnknownInterface = {
    0x5e0d1b6a, 0x32f1, 0x4c1e, {0x9a, 0x4b, 0x21, 0x7c, 0x55, 0x90, 0x0b, 0xde}};

class ComTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override { CoUninitialize(); }
};

TEST(ComPtrTest, ReleasesEveryReferenceItTookExactlyOnce) {
  CountedObject object;
  object.references = 5;
  {
    toolkit::ComPtr<IUnknown> a(&object);
    toolkit::ComPtr<IUnknown> b(std::move(a));  // a move hands over, it does not release
    EXPECT_FALSE(a);
    EXPECT_EQ(object.releases, 0);
    toolkit::ComPtr<IUnknown> c;
    c = std::move(b);
    EXPECT_EQ(object.releases, 0);
    c.reset(&object);  // the old reference goes, the new one stays
    EXPECT_EQ(object.releases, 1);
    *c.put() = &object;  // put() lets go of what was held before the call fills it
    EXPECT_EQ(object.releases, 2);
    toolkit::ComPtr<IUnknown> d(&object);
    EXPECT_EQ(d.release(), &object);  // given away: not released here
  }
  EXPECT_EQ(object.releases, 3);
  EXPECT_EQ(object.references, 2u);
}

TEST(ComPtrTest, ReleasesWhenAnExceptionLeavesTheScope) {
  CountedObject object;
  try {
    const toolkit::ComPtr<IUnknown> held(&object);
    throw std::runtime_error("fails");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(object.releases, 1);
}

TEST(OleTest, QueryInterfaceFailuresAreReportedByKind) {
  CountedObject lacking(E_NOINTERFACE);
  try {
    QueryInterfaceOf<IUnknown>(&lacking, kUnknownInterface);
    ADD_FAILURE() << "no error";
  } catch (const InterfaceNotSupported& e) {
    EXPECT_EQ(e.Message(), L"Interface はサポートされていません");
  }

  CountedObject broken(E_UNEXPECTED);
  try {
    QueryInterfaceOf<IUnknown>(&broken, kUnknownInterface);
    ADD_FAILURE() << "no error";
  } catch (const OleError& e) {
    EXPECT_EQ(e.Code(), E_UNEXPECTED);
    EXPECT_EQ(e.Message(), OleErrorMessage(E_UNEXPECTED));
  }

  CountedObject offering(S_OK);
  {
    const auto found = QueryInterfaceOf<IUnknown>(&offering, kUnknownInterface);
    EXPECT_EQ(found.get(), &offering);
  }
  EXPECT_EQ(offering.references, 1u);  // the reference QueryInterface gave is released
}

TEST(OleTest, TrimSystemMessageDropsTrailingBlanksControlsAndFullStops) {
  const struct {
    const wchar_t* message;
    const wchar_t* trimmed;
  } cases[] = {
      {L"Class not registered.\r\n", L"Class not registered"},
      {L"Done . .\t\r\n ", L"Done"},
      {L"クラスが登録されていません。\r\n", L"クラスが登録されていません。"},
      {L"v1.2 is older", L"v1.2 is older"},
      {L"\t leading stays", L"\t leading stays"},
      {L" .\r\n", L""},
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(TrimSystemMessage(c.message), c.trimmed) << c.message;
}

TEST(OleTest, ACodeWithoutSystemTextShowsItsEightHexDigits) {
  EXPECT_EQ(OleErrorMessage(static_cast<HRESULT>(0x8BADF00D)), L"OLE エラー 8BADF00D");
  EXPECT_EQ(OleErrorMessage(static_cast<HRESULT>(0xA00ABCDE)), L"OLE エラー A00ABCDE");
  const std::wstring known = OleErrorMessage(E_OUTOFMEMORY);
  EXPECT_FALSE(known.empty());
  EXPECT_NE(known.back(), L'.');
  EXPECT_GT(known.back(), L' ');
}

TEST(OleTest, GuidTextIsTheBracedForm) {
  EXPECT_EQ(GuidText(CLSID_ShellLink), L"{00021401-0000-0000-C000-000000000046}");
  EXPECT_EQ(GuidText(IID_IShellLinkW), L"{000214F9-0000-0000-C000-000000000046}");
}

TEST_F(ComTest, AClassThatCannotBeCreatedNamesItsClassId) {
  constexpr GUID kUnregistered = {
      0x0b1e2c3d, 0x4a5b, 0x4c6d, {0x8e, 0x7f, 0x90, 0xa1, 0xb2, 0xc3, 0xd4, 0xe5}};
  try {
    CreateComObject(kUnregistered);
    ADD_FAILURE() << "no error";
  } catch (const OleError& e) {
    EXPECT_EQ(e.Code(), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(e.Message(), OleErrorMessage(REGDB_E_CLASSNOTREG) +
                               L", ClassID: {0B1E2C3D-4A5B-4C6D-8E7F-90A1B2C3D4E5}");
  }
}

TEST_F(ComTest, TheShellLinkObjectOffersTheLinkInterfacesAndNoOthers) {
  const toolkit::ComPtr<IUnknown> object = CreateComObject(CLSID_ShellLink);
  ASSERT_TRUE(object);
  EXPECT_TRUE(QueryInterfaceOf<IShellLinkW>(object.get(), IID_IShellLinkW));
  EXPECT_TRUE(QueryInterfaceOf<IPersistFile>(object.get(), IID_IPersistFile));
  EXPECT_THROW(QueryInterfaceOf<IUnknown>(object.get(), kUnknownInterface), InterfaceNotSupported);
}

}  // namespace
}  // namespace yomitron::shell
