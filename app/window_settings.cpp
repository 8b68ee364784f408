#include "app/window_settings.h"

#include "settings/settings_table.h"

namespace vernalith {

void WindowSettings::Bind(Setting setting, Getter get, Setter set) {
    bindings_[setting] = Binding{std::move(get), std::move(set)};
}

std::u16string WindowSettings::Value(Setting setting) const {
    if (auto it = bindings_.find(setting); it != bindings_.end()) return it->second.get();
    return SettingDefault(setting);
}

bool WindowSettings::Assign(Setting setting, const std::u16string& value) {
    auto it = bindings_.find(setting);
    if (it == bindings_.end() || !it->second.set) return false;
    it->second.set(value);
    return true;
}

}  // namespace vernalith
