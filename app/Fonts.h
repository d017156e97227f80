#pragma once

// The windows name the fonts they were designed with ("MS Sans Serif", "Arial Black",
// "Sylfaen", "Tahoma"); this maps each to an installed font of like appearance.
void installFontSubstitutions();
