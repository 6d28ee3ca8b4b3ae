// What every GET of the HTTP read command says: its user agent, accept type, added headers and
// request flags (always from the service, never written to the cache).
#pragma once

#include <windows.h>
#include <wininet.h>

namespace velmora::net {

inline constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
inline constexpr char kAcceptType[] = "Accept: */* \r\n";
inline constexpr char kAdditionalHeaders[] = "Accept: */*\r\n\r\n";
inline constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;

}  // namespace velmora::net
