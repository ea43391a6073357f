#include "platform/win32/win32_url_cache.h"

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <cstring>

namespace kelpo {
namespace {

LPINTERNET_CACHE_ENTRY_INFOA RecordIn(std::uint8_t* block) {
  return reinterpret_cast<LPINTERNET_CACHE_ENTRY_INFOA>(block);
}

HANDLE Native(CacheFind find) { return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(find)); }

}  // namespace

CacheFind Win32UrlCache::FindFirst(std::uint8_t* block, std::uint32_t* size, std::int32_t* error) {
  DWORD native_size = *size;
  const HANDLE find = FindFirstUrlCacheEntryA(nullptr, RecordIn(block), &native_size);
  *error = find == nullptr ? static_cast<std::int32_t>(GetLastError()) : 0;
  *size = native_size;
  return static_cast<CacheFind>(reinterpret_cast<ULONG_PTR>(find));
}

bool Win32UrlCache::FindNext(CacheFind find, std::uint8_t* block, std::uint32_t* size, std::int32_t* error) {
  DWORD native_size = *size;
  const BOOL fetched = FindNextUrlCacheEntryA(Native(find), RecordIn(block), &native_size);
  *error = fetched ? 0 : static_cast<std::int32_t>(GetLastError());
  *size = native_size;
  return fetched != FALSE;
}

void Win32UrlCache::CloseFind(CacheFind find) { FindCloseUrlCache(Native(find)); }

bool Win32UrlCache::DeleteEntry(const std::string& source_url) {
  return DeleteUrlCacheEntryA(source_url.c_str()) != FALSE;
}

CacheEntryFields Win32UrlCache::ReadEntry(const std::uint8_t* block, std::uint32_t size) const {
  CacheEntryFields fields;
  INTERNET_CACHE_ENTRY_INFOA record;
  if (block == nullptr || size < sizeof record) return fields;
  std::memcpy(&record, block, sizeof record);
  fields.entry_type = record.CacheEntryType;
  // The URL follows the record in the same block; a pointer anywhere else is not followed.
  const auto begin = reinterpret_cast<std::uintptr_t>(block);
  const auto url = reinterpret_cast<std::uintptr_t>(record.lpszSourceUrlName);
  if (url < begin || url >= begin + size) return fields;
  const std::uint8_t* text = block + (url - begin);
  if (std::memchr(text, 0, size - (url - begin)) != nullptr) fields.source_url = reinterpret_cast<const char*>(text);
  return fields;
}

}  // namespace kelpo
