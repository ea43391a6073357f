#pragma once
// The backup step of an apply, in one call: reads the registry script the apply will import,
// builds the backup of everything the apply and the script are about to change, and saves it.
// Never throws and never stops the apply: a failure is in the outcome, for the log.
#include <string>
#include <vector>

#include "backup/backup_builder.h"
#include "backup/backup_store.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/raw_registry.h"
#include "platform/text_codec.h"

namespace kelpo {

struct BackupOutcome {
  SavedBackup saved;
  std::vector<std::wstring> notes;  // what the backup cannot put back exactly
};

struct BackupPorts {
  RawRegistry& registry;
  FileSystem& files;
  const Clock& clock;
  const TextCodec& codec;  // the ANSI code page, for a REGEDIT4 script
};

// `changes` without the script; `script_path` is the registry script the apply imports ("" when
// it imports none). A script that cannot be read is noted and left out of the backup.
BackupOutcome BackUpBeforeApply(const BackupPorts& ports, ApplyChanges changes, const std::wstring& script_path);

}  // namespace kelpo
