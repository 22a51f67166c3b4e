// The launcher's string table (launcher/): the texts of its two stops.
#pragma once

#define IDS_LAUNCHER_DAMAGED    1
#define IDS_LAUNCHER_UNPACK     2
#define IDS_LAUNCHER_CAPTION    3
