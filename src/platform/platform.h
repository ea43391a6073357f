#pragma once
// The ports handed to the core. The build picks the adapters; the core never reaches the
// operating system any other way.
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/processes.h"
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
};

}  // namespace kelpo
