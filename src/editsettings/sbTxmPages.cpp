// The page factory of the settings dialog.
#include "sbTxmPages.h"

#include "sbTxm.h"

#if __has_include("PageSetupPage.h")
#include "PageSetupPage.h"
#define FOLIUM_HAVE_PAGE_SETUP 1
#endif
#if __has_include("SearchPage.h")
#include "SearchPage.h"
#define FOLIUM_HAVE_SEARCH_PAGE 1
#endif

sbTxmPage* MakePage(const QString& sJb, uTxm* editor, QWidget* parent) {
#ifdef FOLIUM_HAVE_PAGE_SETUP
    if (sJb == QLatin1String("PG"))
        return new PageSetupPage(editor, parent);
#endif
#ifdef FOLIUM_HAVE_SEARCH_PAGE
    if (sJb == QLatin1String("FD"))
        return new SearchPage(editor, parent);
#endif
    (void)sJb;
    (void)editor;
    (void)parent;
    return nullptr;
}
