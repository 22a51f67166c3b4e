/* Resource ids of the player host. */
#pragma once

/* icons */
#define IDI_PLAYER              147     /* window and program */
#define IDI_DOCUMENT            158     /* documents: the program's icon index 1 */

/* strings: the document type's registration */
#define IDS_EXTENSION           1
#define IDS_PROGID              2
#define IDS_DESCRIPTION         3
#define IDS_MIMETYPE            4
#define IDS_OWNERS              5       /* programs whose registration stays; first character separates */
#define IDS_QUICKVIEW           6
