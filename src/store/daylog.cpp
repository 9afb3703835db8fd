#include "store/daylog.h"

namespace brevanto {

const DayLogKind& basicLogKind() {
    static const DayLogKind kind{16, {}, "", "", "VariablesList"};
    return kind;
}
const DayLogKind& computedLogKind() {
    static const DayLogKind kind{7, {}, "", "", "ComputedList"};
    return kind;
}
DayLog::DayLog(const DayLogKind& kind, const Services& services)
    : m_kind(kind), m_services(services), m_table(kind.columns, kind.designCaption) {}

}  // namespace brevanto
