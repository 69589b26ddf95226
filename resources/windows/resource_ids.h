#pragma once

// Identifiers of the Windows resources, shared by the resource scripts and the C++ that loads
// them. Plain macros so that the resource compiler reads them too.

// The program icon (six images) of Norvessa.exe, the first icon, which Explorer shows.
#define NORVESSA_PROGRAM_ICON 1
