// velmora.exe as Windows reads it: the version resource shown in the file's properties, the icon
// shown for the file and the manifest read when the program starts, read from the built program
// with the calls Explorer and the loader make.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace velmora {
namespace {

// The file's version texts in its one translation, simplified Chinese in UTF-16.
std::wstring versionText(const std::vector<char>& info, const wchar_t* name) {
  void* text = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
  if (!VerQueryValueW(info.data(), path.c_str(), &text, &length) || length == 0) return L"";
  return static_cast<const wchar_t*>(text);
}

TEST(ProgramFile, VersionResourceNamesTheProductAndTheProjectVersion) {
  DWORD handle = 0;
  std::vector<char> info(GetFileVersionInfoSizeW(VELMORA_PROGRAM, &handle));
  ASSERT_FALSE(info.empty()) << "no version resource";
  ASSERT_TRUE(
      GetFileVersionInfoW(VELMORA_PROGRAM, 0, static_cast<DWORD>(info.size()), info.data()));

  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", &value, &length));
  const auto& fixed = *static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed.dwSignature, VS_FFI_SIGNATURE);
  EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));
  const std::wstring fileVersion = std::to_wstring(HIWORD(fixed.dwFileVersionMS)) + L"." +
                                   std::to_wstring(LOWORD(fixed.dwFileVersionMS)) + L"." +
                                   std::to_wstring(HIWORD(fixed.dwFileVersionLS));
  EXPECT_EQ(fileVersion, VELMORA_VERSION_TEXT);
  EXPECT_EQ(fixed.dwProductVersionMS, fixed.dwFileVersionMS);
  EXPECT_EQ(fixed.dwProductVersionLS, fixed.dwFileVersionLS);

  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", &value, &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(static_cast<const WORD*>(value)[0], 0x0804);  // simplified Chinese
  EXPECT_EQ(static_cast<const WORD*>(value)[1], 1200);    // UTF-16

  EXPECT_EQ(versionText(info, L"ProductName"), L"Velmora");
  EXPECT_EQ(versionText(info, L"FileDescription"), L"Velmora 短信验证码客户端");
  EXPECT_EQ(versionText(info, L"FileVersion"), VELMORA_VERSION_TEXT);
  EXPECT_EQ(versionText(info, L"ProductVersion"), VELMORA_VERSION_TEXT);
}

#pragma pack(push, 2)
struct IconGroupEntry {  // one image of an icon group resource
  BYTE width;            // 0 for 256
  BYTE height;
  BYTE colourCount;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD byteCount;
  WORD id;  // of its RT_ICON resource
};
#pragma pack(pop)
static_assert(sizeof(IconGroupEntry) == 14);

// Keeps the first name of a resource type, an id as "#id" (the name lives only during the call).
BOOL CALLBACK keepFirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR first) {
  *reinterpret_cast<std::string*>(first) =
      IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<uintptr_t>(name)) : name;
  return FALSE;
}

// The icon drawn on white, as 0x00RRGGBB pixels from the top row down.
std::vector<uint32_t> drawnOnWhite(HICON icon, int size) {
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = size;
  format.bmiHeader.biHeight = -size;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  PatBlt(dc, 0, 0, size, size, WHITENESS);
  DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  GdiFlush();
  std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits),
                               static_cast<const uint32_t*>(bits) + size * size);
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
  for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

// Explorer shows a program file with the first icon group of its resources, at the size its view
// asks for: each of the usual sizes is there as an image of its own, and each is the logo, a red
// cloud on a transparent background.
TEST(ProgramFile, IconIsTheLogoAtEachSizeTheShellShows) {
  HMODULE program = LoadLibraryExW(VELMORA_PROGRAM, nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(program, nullptr);
  std::string groupName;
  EnumResourceNamesA(program, RT_GROUP_ICON, keepFirstName, reinterpret_cast<LONG_PTR>(&groupName));
  ASSERT_FALSE(groupName.empty()) << "no icon";
  HRSRC group = FindResourceA(program, groupName.c_str(), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(program, group)));
  const WORD count = reinterpret_cast<const WORD*>(directory)[2];
  ASSERT_EQ(SizeofResource(program, group), 6 + count * sizeof(IconGroupEntry));
  const auto* entries = reinterpret_cast<const IconGroupEntry*>(directory + 6);

  std::set<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    const int size = entries[i].width == 0 ? 256 : entries[i].width;
    sizes.insert(size);
    HRSRC image = FindResourceA(program, MAKEINTRESOURCEA(entries[i].id), RT_ICON);
    ASSERT_NE(image, nullptr) << size;
    HICON icon = CreateIconFromResourceEx(
        static_cast<BYTE*>(LockResource(LoadResource(program, image))),
        SizeofResource(program, image), TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR);
    ASSERT_NE(icon, nullptr) << size;
    const std::vector<uint32_t> pixels = drawnOnWhite(icon, size);
    DestroyIcon(icon);
    EXPECT_EQ(pixels.front(), 0xFFFFFFu) << size << ": the corner is not transparent";
    int reddish = 0;  // red well above green and blue, as the logo's red over white
    for (uint32_t pixel : pixels) {
      const int red = pixel >> 16, green = (pixel >> 8) & 0xFF, blue = pixel & 0xFF;
      reddish += red - green >= 0x40 && red - blue >= 0x40;
    }
    EXPECT_GT(reddish, size) << size << ": too little of the logo's red";
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 32, 48, 256}));
  FreeLibrary(program);
}

// The settings a manifest gives in a namespace of windowsSettings: the text of the setting, empty
// when the manifest does not give it.
std::wstring manifestSetting(HANDLE context, const wchar_t* space, const wchar_t* name) {
  wchar_t value[64] = {};
  SIZE_T written = 0;
  if (!QueryActCtxSettingsW(0, context, space, name, value, std::size(value), &written)) return L"";
  return value;
}

// The loader reads the manifest (resource 1 of type RT_MANIFEST) into the program's activation
// context: the program runs with the user's own rights, as a program written for Windows 7 to
// 11, with no other assembly (the classic common controls its windows are drawn for, not
// version 6), not DPI aware, and with GDI scaling. A manifest the loader cannot read stops the
// program from starting at all.
TEST(ProgramFile, ManifestRunsAsInvokerOnWindows7To11WithClassicControlsAndGdiScaling) {
  HMODULE program = LoadLibraryExW(VELMORA_PROGRAM, nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(program, nullptr);
  EXPECT_NE(FindResourceA(program, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST), nullptr);
  FreeLibrary(program);

  ACTCTXW request{};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = VELMORA_PROGRAM;
  request.lpResourceName = MAKEINTRESOURCEW(1);  // CREATEPROCESS_MANIFEST_RESOURCE_ID
  HANDLE context = CreateActCtxW(&request);
  ASSERT_NE(context, INVALID_HANDLE_VALUE) << "the manifest does not load: " << GetLastError();

  ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel{};
  ASSERT_TRUE(QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &runLevel,
                           sizeof runLevel, nullptr));
  EXPECT_EQ(runLevel.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
  EXPECT_EQ(runLevel.UiAccess, 0u);

  // The systems the program is written for. The elements grew a field in Windows 10 (and Wine
  // answers with the larger ones), so each system's id is looked for in the answer's bytes.
  char compatibility[512];
  SIZE_T written = 0;
  ASSERT_TRUE(QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext,
                           compatibility, sizeof compatibility, &written));
  const std::string answer(compatibility, written);
  EXPECT_EQ(reinterpret_cast<const DWORD*>(compatibility)[0], 4u) << "not four systems";
  for (const wchar_t* system : {
           L"{35138B9A-5D96-4FBD-8E2D-A2440225F93A}",  // Windows 7
           L"{4A2F28E3-53B9-4441-BA9C-D69D4A4A6E38}",  // Windows 8
           L"{1F676C76-80E1-4239-95BB-83D0F6D0DA78}",  // Windows 8.1
           L"{8E0F7A12-BFB3-4FE8-B9A5-48FD50A15A9A}",  // Windows 10 and 11
       }) {
    GUID id{};
    ASSERT_EQ(CLSIDFromString(system, &id), S_OK);
    EXPECT_NE(answer.find(std::string(reinterpret_cast<const char*>(&id), sizeof id)),
              std::string::npos)
        << "not written for " << std::wstring(system);
  }

  alignas(ACTIVATION_CONTEXT_DETAILED_INFORMATION) char details[4096];  // the paths follow
  ASSERT_TRUE(QueryActCtxW(0, context, nullptr, ActivationContextDetailedInformation, details,
                           sizeof details, nullptr));
  EXPECT_EQ(
      reinterpret_cast<const ACTIVATION_CONTEXT_DETAILED_INFORMATION*>(details)->ulAssemblyCount,
      1u)
      << "the manifest depends on another assembly";

  const wchar_t settings2005[] = L"http://schemas.microsoft.com/SMI/2005/WindowsSettings";
  const wchar_t settings2016[] = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";
  const wchar_t settings2017[] = L"http://schemas.microsoft.com/SMI/2017/WindowsSettings";
  EXPECT_EQ(manifestSetting(context, settings2017, L"gdiScaling"), L"true");
  EXPECT_EQ(manifestSetting(context, settings2005, L"dpiAware"), L"");
  EXPECT_EQ(manifestSetting(context, settings2016, L"dpiAwareness"), L"");
  ReleaseActCtx(context);
}

}  // namespace
}  // namespace velmora
