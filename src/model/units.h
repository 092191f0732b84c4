#pragma once

// The lengths every drawer of a design shares.

namespace loomscope {

// A DST length (units of 0.1 mm) divided by this is a model unit: one pixel at scale 1.
inline constexpr double kDstUnitsPerModelUnit = 2.83465;
// Model units in a millimetre at scale 1, as the measuring tool counts them.
inline constexpr double kModelUnitsPerMm = 3.5278;

// A sequin diameter in millimetres to a radius in model units at scale 1: half of the 3.5278
// model units of a millimetre would be 1.764; sequins have always been drawn with 1.74.
inline constexpr float kSequinRadiusPerMm = 1.74f;
// A sequin of 5 mm with a hole of 1.5 mm, as sewn unless the settings say otherwise; pictures
// and the stitch-out always draw this size.
inline constexpr float kDefaultSequinOuterMm = 5.0f;
inline constexpr float kDefaultSequinHoleMm = 1.5f;

} // namespace loomscope
