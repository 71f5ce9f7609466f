// Resource id of WordNet's exception lists, which give the English word forms.
#pragma once

#define IDR_ENGLISHFORMS 320
