#pragma once

#include <QString>

class TFRMmain;
class TFRMfundI;
class TFRMAtividades;
class TFRMswf;

// One slot per window kind, empty while no such window exists. Slots never own their window:
// each window clears its own slot in its close handler, before it is destroyed.
extern TFRMmain* FRMmain;
extern TFRMfundI* FRMfundI;
extern TFRMAtividades* FRMAtividades;
extern TFRMswf* FRMswf;

// The grade code ("1A" to "5A") chosen on the grade menu and the subject name chosen on the
// subject menu; both empty until first chosen.
extern QString SerieAtual;
extern QString DisciplinaAtual;
