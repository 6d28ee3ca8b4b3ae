// Text from service: a reply body of the service, UTF-8 bytes, as local text (code page 936).
#pragma once

namespace velmora::app {

// The body is a byte set, lent; the result is a new text owned by the caller (null when empty).
char* textFromService(const void* replyBody);

}  // namespace velmora::app
