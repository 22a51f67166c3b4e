// The document type's registration with the shell, the MIME database and the
// [Extensions] of WIN.INI, and the reverse question: who opens an extension.
#pragma once
#include <windows.h>

#include "setupfile.h"
#include "text.h"

// Registers programPath (null: the module's own file) as the opener of the
// document type whose texts are strings of `module` by number. An owner list
// names programs whose icon and open verb are kept (they then get only the
// QuickView verb). Numbers 0 leave out the owner list and QuickView.
// Failures are silent.
void RegisterDocumentType(HINSTANCE module, const char* programPath, UINT extensionId, UINT progIdId,
                         UINT descriptionId, UINT mimeTypeId, UINT ownerListId, UINT quickViewId);

// Removes what of the registration belongs to programPath: the whole type
// when it owns the open verb, else only its QuickView verb. The [Extensions]
// entries stay. Failures are silent.
void UnregisterDocumentType(HINSTANCE module, const char* programPath, UINT extensionId, UINT progIdId,
                           UINT mimeTypeId);

// The program that opens an extension (".zyn"), through the registry or else
// WIN.INI; null when none. Caller owns the result. progId, when given,
// receives the extension's ProgID, and is left empty when no program is found.
CSetupFile* FindRegisteredOpener(const char* extension, CStr* progId);

// The program of a ProgID's open command, left in buf (size bytes); the offset
// of its file name in buf, or -1.
int ReadOpenCommandProgram(const char* progId, char* buf, DWORD size);
