#pragma once

// Fixed facts about this module.
inline constexpr char ModuleModelName[] = "QRT-5150";
inline constexpr char ModuleProductRootOid[] = "1.3.6.1.4.1.48213.10.37.37";
inline constexpr char ModuleReleaseVersion[] = "v1.01";
inline constexpr char ModuleBuildLabel[] = "R14(2009/06/26)";
