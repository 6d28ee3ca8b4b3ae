// WinINet, loaded from the system folder at the first call instead of imported (see
// runtime/win32/system_library.h): WININET.DLL is not one of the system's known DLLs, so an
// imported one would be looked for beside the program first, where a file of that name may lie.
//
// The internet library calls WinINet's functions as <wininet.h> declares them, which the compiler
// turns into calls through their import entries, the pointers named `__imp__NAME@BYTES`. This
// file defines those entries itself, each pointing to a function here that finds WinINet's
// function at its first call and then calls it. No WinINet import library is linked, so a WinINet
// function used but given no entry here fails the link, naming its entry. When the library or
// the function cannot be found, a call fails as WinINet fails: null or FALSE, with the last error
// ERROR_PROC_NOT_FOUND.
#include <windows.h>
#include <wininet.h>

#include <utility>

#include "runtime/win32/system_library.h"

namespace velmora::net {
namespace {

// A WinINet function of this type, found by its name in the system folder's WININET.DLL.
template <typename Function>
class WinInetFunction {
 public:
  explicit WinInetFunction(const char* name)
      : function_(runtime::systemLibraryFunction<Function>(L"wininet.dll", name)) {}

  template <typename... Args>
  auto operator()(Args... args) const -> decltype(std::declval<Function>()(args...)) {
    if (function_ != nullptr) return function_(args...);
    SetLastError(ERROR_PROC_NOT_FOUND);
    return {};
  }

 private:
  Function function_;
};

HINTERNET WINAPI openInternet(LPCSTR agent, DWORD accessType, LPCSTR proxy, LPCSTR proxyBypass,
                              DWORD flags) {
  static const WinInetFunction<decltype(&::InternetOpenA)> function("InternetOpenA");
  return function(agent, accessType, proxy, proxyBypass, flags);
}

HINTERNET WINAPI connect(HINTERNET internet, LPCSTR serverName, INTERNET_PORT serverPort,
                         LPCSTR userName, LPCSTR password, DWORD service, DWORD flags,
                         DWORD_PTR context) {
  static const WinInetFunction<decltype(&::InternetConnectA)> function("InternetConnectA");
  return function(internet, serverName, serverPort, userName, password, service, flags, context);
}

HINTERNET WINAPI openRequest(HINTERNET connection, LPCSTR verb, LPCSTR objectName, LPCSTR version,
                             LPCSTR referrer, LPCSTR* acceptTypes, DWORD flags, DWORD_PTR context) {
  static const WinInetFunction<decltype(&::HttpOpenRequestA)> function("HttpOpenRequestA");
  return function(connection, verb, objectName, version, referrer, acceptTypes, flags, context);
}

BOOL WINAPI sendRequest(HINTERNET request, LPCSTR headers, DWORD headersLength, LPVOID optional,
                        DWORD optionalLength) {
  static const WinInetFunction<decltype(&::HttpSendRequestA)> function("HttpSendRequestA");
  return function(request, headers, headersLength, optional, optionalLength);
}

BOOL WINAPI queryInfo(HINTERNET request, DWORD infoLevel, LPVOID buffer, LPDWORD bufferLength,
                      LPDWORD index) {
  static const WinInetFunction<decltype(&::HttpQueryInfoA)> function("HttpQueryInfoA");
  return function(request, infoLevel, buffer, bufferLength, index);
}

BOOL WINAPI readFile(HINTERNET file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead) {
  static const WinInetFunction<decltype(&::InternetReadFile)> function("InternetReadFile");
  return function(file, buffer, bytesToRead, bytesRead);
}

BOOL WINAPI queryDataAvailable(HINTERNET file, LPDWORD bytesAvailable, DWORD flags,
                               DWORD_PTR context) {
  static const WinInetFunction<decltype(&::InternetQueryDataAvailable)> function(
      "InternetQueryDataAvailable");
  return function(file, bytesAvailable, flags, context);
}

BOOL WINAPI setOption(HINTERNET internet, DWORD option, LPVOID buffer, DWORD bufferLength) {
  static const WinInetFunction<decltype(&::InternetSetOptionA)> function("InternetSetOptionA");
  return function(internet, option, buffer, bufferLength);
}

BOOL WINAPI closeHandle(HINTERNET internet) {
  static const WinInetFunction<decltype(&::InternetCloseHandle)> function("InternetCloseHandle");
  return function(internet);
}

BOOL WINAPI crackUrl(LPCSTR url, DWORD urlLength, DWORD flags, LPURL_COMPONENTSA components) {
  static const WinInetFunction<decltype(&::InternetCrackUrlA)> function("InternetCrackUrlA");
  return function(url, urlLength, flags, components);
}

BOOL WINAPI canonicalizeUrl(LPCSTR url, LPSTR buffer, LPDWORD bufferLength, DWORD flags) {
  static const WinInetFunction<decltype(&::InternetCanonicalizeUrlA)> function(
      "InternetCanonicalizeUrlA");
  return function(url, buffer, bufferLength, flags);
}

}  // namespace

// The import entries, under the names the compiler gives them (BYTES: the arguments' size).
extern "C" const decltype(&::InternetOpenA) importInternetOpenA __asm__("__imp__InternetOpenA@20") =
    openInternet;
extern "C" const decltype(&::InternetConnectA) importInternetConnectA __asm__(
    "__imp__InternetConnectA@32") = connect;
extern "C" const decltype(&::HttpOpenRequestA) importHttpOpenRequestA __asm__(
    "__imp__HttpOpenRequestA@32") = openRequest;
extern "C" const decltype(&::HttpSendRequestA) importHttpSendRequestA __asm__(
    "__imp__HttpSendRequestA@20") = sendRequest;
extern "C" const decltype(&::HttpQueryInfoA) importHttpQueryInfoA __asm__(
    "__imp__HttpQueryInfoA@20") = queryInfo;
extern "C" const decltype(&::InternetReadFile) importInternetReadFile __asm__(
    "__imp__InternetReadFile@16") = readFile;
extern "C" const decltype(&::InternetQueryDataAvailable) importInternetQueryDataAvailable __asm__(
    "__imp__InternetQueryDataAvailable@16") = queryDataAvailable;
extern "C" const decltype(&::InternetSetOptionA) importInternetSetOptionA __asm__(
    "__imp__InternetSetOptionA@16") = setOption;
extern "C" const decltype(&::InternetCloseHandle) importInternetCloseHandle __asm__(
    "__imp__InternetCloseHandle@4") = closeHandle;
extern "C" const decltype(&::InternetCrackUrlA) importInternetCrackUrlA __asm__(
    "__imp__InternetCrackUrlA@16") = crackUrl;
extern "C" const decltype(&::InternetCanonicalizeUrlA) importInternetCanonicalizeUrlA __asm__(
    "__imp__InternetCanonicalizeUrlA@16") = canonicalizeUrl;

}  // namespace velmora::net
