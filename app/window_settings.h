#pragma once

#include <functional>
#include <map>
#include <string>

#include "core/settings_source.h"

namespace vernalith {

// The settings as the program holds them: in the fields and menu marks of its windows. Each window
// binds its fields here when it is created; a procedure reads the field's current text when it
// starts. A setting nobody has bound yet reads as its default.
class WindowSettings : public SettingsSource {
public:
    using Getter = std::function<std::u16string()>;
    using Setter = std::function<void(const std::u16string&)>;

    void Bind(Setting setting, Getter get, Setter set);
    std::u16string Value(Setting setting) const override;
    // Puts a value into the field (used when settings are loaded); false when nothing is bound.
    bool Assign(Setting setting, const std::u16string& value);

private:
    struct Binding {
        Getter get;
        Setter set;
    };
    std::map<Setting, Binding> bindings_;
};

}  // namespace vernalith
