#include "store/tdati.h"

#include <variant>

#include "store/settingskeys.h"

namespace brevanto {

TDati::TDati() {
    for (const SettingKey& key : settingKeys()) {
        std::visit([this](const auto& field) { field.of(*this) = field.defaultValue; }, key.field);
    }
}

}  // namespace brevanto
