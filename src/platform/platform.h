#pragma once
// The ports handed to the core. The build picks the adapters; the core never reaches the
// operating system any other way.
#include <string_view>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/raw_registry.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/text_codec.h"
#include "platform/url_cache.h"

namespace kelpo {

struct Platform {
  Registry& registry;
  TextCodec& codec;
  Desktop& desktop;
  Files& files;
  Processes& processes;
  Shell& shell;
  UrlCache& url_cache;
  // The backup of what an apply changes and the log of what it did.
  RawRegistry& raw_registry;
  FileSystem& file_system;
  const Clock& clock;
  // The program's version as its version resource gives it ("1.0.0.0"), for the log. The text
  // outlives the platform.
  std::wstring_view program_version;
};

}  // namespace kelpo
