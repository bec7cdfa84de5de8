#pragma once

#include <QString>

#include <cstdint>

namespace vantor {

// The text conventions of interface paths that every backend follows: "vid_XXXX" and
// "pid_XXXX" (four hex digits) so IDs can be read before opening, and "&col_NN" (from 01)
// when an interface has several top-level collections. Whatever comes before the first '#'
// is the backend's own locator.
namespace HidPath {

// "<locator>#vid_0c45&pid_5004", plus "&col_02" when collection (0-based) is above 0 or
// several collections are listed.
QString Compose(const QString& locator, uint16_t vendorId, uint16_t productId,
                int collection = -1);

// The text before the first '#' (the whole path when there is none).
QString Locator(const QString& path);

// The 0-based top-level collection a path names: 0 without "col_", -1 when "col_" is not
// followed by a number from 1 to 99.
int CollectionIndex(const QString& path);

}  // namespace HidPath

}  // namespace vantor
