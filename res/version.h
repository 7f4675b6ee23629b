// Version numbers and the maker's strings, in one place for the resources and the code.
#pragma once

#define TARVELIN_MAKER "Vestrakona"
#define TARVELIN_PRODUCT "Tarvelin"

// The fixed version block.
#define TARVELIN_FILEVERSION_BIN 1, 0, 0, 1
#define TARVELIN_PRODUCTVERSION_BIN 1, 0, 0, 1

// The version strings; they deliberately differ from the fixed block and from the title's "1.01".
#define TARVELIN_FILEVERSION_STR "1, 0, 0, 0"
#define TARVELIN_PRODUCTVERSION_STR "1, 0, 0, 0"
#define TARVELIN_INTERNALNAME_STR "Tarvelin 1.00.0"
#define TARVELIN_COPYRIGHT_STR "Copyright (C) 2026 Vestrakona"
#define TARVELIN_PRODUCTNAME_STR "Tarvelin Vestrakona"

// The version text the dialog's title shows, and tarvelin-cli --version.
#define TARVELIN_TITLE_VERSION "1.01"
