#pragma once

// TAVRIN_SANITIZED: the tests are built with the address sanitizer, which takes memory of its
// own and reports running out of it itself, so tests of memory use step aside.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVRIN_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TAVRIN_SANITIZED 1
#endif
