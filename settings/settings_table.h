#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>

#include "core/settings_source.h"

namespace vernalith {

// Where a setting is kept between runs: a text-lines file, or a record of one of the record files.
enum class SettingsFile { Options1Txt, Options2Txt, Options3Txt, OptionsIni, Options2Ini };

struct SettingInfo {
    Setting id;
    std::string_view name;  // as the command-line tool's --set names it
    SettingsFile file;
    int record;  // 1-based record in a record file; 0 for a text-lines file
    std::u16string defaultValue;
};

// Every setting, in the order of the files and their records.
std::span<const SettingInfo> SettingsTable();

const SettingInfo& SettingInfoOf(Setting setting);
const SettingInfo* FindSetting(std::string_view name);
const char* SettingsFileName(SettingsFile file);

// The defaults, with values set by name on top: the settings of a batch run.
class SettingValues : public SettingsSource {
public:
    std::u16string Value(Setting setting) const override;
    void Set(Setting setting, std::u16string value) { overrides_[setting] = std::move(value); }

private:
    std::map<Setting, std::u16string> overrides_;
};

}  // namespace vernalith
