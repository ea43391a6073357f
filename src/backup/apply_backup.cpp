#include "backup/apply_backup.h"

#include "backup/registry_script_reader.h"
#include "backup/registry_script_writer.h"
#include "platform/runtime_error.h"

namespace kelpo {

BackupOutcome BackUpBeforeApply(const BackupPorts& ports, ApplyChanges changes, const std::wstring& script_path) {
  BackupOutcome outcome;
  try {
    if (!script_path.empty()) {
      std::string bytes;
      if (ports.files.ReadWholeFile(script_path, &bytes))
        changes.imported_script = ReadRegistryScript(bytes, ports.codec).script;
      else
        outcome.notes.push_back(L"cannot read " + script_path + L": what it writes is not backed up");
    }
    Backup backup = BuildBackup(ports.registry, changes);
    outcome.notes.insert(outcome.notes.end(), backup.notes.begin(), backup.notes.end());
    outcome.saved = BackupStore(ports.files, ports.clock).Save(EncodeRegistryScript(backup.script));
  } catch (...) {
    outcome.saved = {false, L"", L"the backup broke down: " + DescribeCurrentException()};
  }
  return outcome;
}

}  // namespace kelpo
