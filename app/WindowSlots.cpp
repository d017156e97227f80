#include "WindowSlots.h"

TFRMmain* FRMmain = nullptr;
TFRMfundI* FRMfundI = nullptr;
TFRMAtividades* FRMAtividades = nullptr;
TFRMswf* FRMswf = nullptr;

QString SerieAtual;
QString DisciplinaAtual;
