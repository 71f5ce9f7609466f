// The product's version and names, shared by both deliverables' resource scripts.
#ifndef WORDLARK_VERSION_H
#define WORDLARK_VERSION_H

#define WL_VERSION_NUMBERS 2, 0, 0, 0
#define WL_VERSION_TEXT "2.0.0.0"
#define WL_PRODUCT_NAME "Wordlark"
#define WL_COMPANY_NAME "Orvane"
#define WL_COPYRIGHT "Copyright (C) 2026 Orvane"

#endif
