#pragma once

#include <QStringList>

namespace velmora {

// Common generic names, in Chinese, of medicines for blood pressure, blood
// lipids and diabetes and of antiplatelet medicines: what the name box offers
// first. A list of names only, in groups in that order; any other name can
// be typed. It says nothing about doses, uses or interactions.
QStringList commonMedicineNames();

} // namespace velmora
