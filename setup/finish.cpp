// The end of an install: the other product, the clean-up offer and the
// completion message.
#include "installset.h"

#include "msgbox.h"
#include "quillset.h"

void CInstallSet::AddOtherProduct()
{
    if (flags & kPlayerSet)
        flags |= kPluginSet;
    else if (flags & kPluginSet)
        flags |= kPlayerSet;
}

bool CInstallSet::OfferInstallSetCleanup(const CSetupFile& setupProgram)
{
    CStr value = description->ReadSetting("Options", "DeleteSource");
    if (!EqualNoCase(value, "yes") && LeadingNumber(value) != 1)
        return false;
    // a product installed into the set's own folder is no install set to erase
    if (SameFolder(destination.Path(), setupProgram.Path()) || IsPluginFolderPath(setupProgram.Path()))
        return false;
    // the setup program beside its set (the current folder), writable, on a
    // drive that can be written and is the user's own
    DWORD attributes = GetFileAttributesA(setupProgram.Name());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    UINT drive = GetDriveTypeA(0);
    if (drive == DRIVE_CDROM || drive == DRIVE_REMOTE)
        return false;
    if (MsgBox(IDS_CLEANUP_OFFER, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    bool deleted = false;
    for (int i = 0; i < m_count; ++i)
        deleted |= m_files[i]->DeleteFrom(&setupProgram);
    return deleted;
}

bool CInstallSet::ShowInstallComplete()
{
    CSetupFile readme(description->Path(), "readme.txt");
    bool hasReadme = readme.Exists();
    CStr line = hasReadme ? LoadText(IDS_README_OFFER) : CStr();
    CStr tail = (flags & kPluginSet) ? FormatText(IDS_RESTART_NAVIGATOR, line) : line;
    CStr message = FormatText(IDS_INSTALLED, displayName, tail);
    if (!hasReadme) {
        MsgBoxText(message, MB_OK | MB_ICONINFORMATION);
        return true;
    }
    if (MsgBoxText(message, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return true;
    // run in the current folder: the install set's
    if (WinExec(LoadText(IDS_README_COMMAND), SW_SHOWNORMAL) < 32) {
        SetError(IDS_README_FAILED);
        return false;
    }
    return true;
}
