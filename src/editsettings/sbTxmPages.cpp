// The page factory of the settings dialog.
#include "sbTxmPages.h"

#include "DisplayPage.h"
#include "LinkPage.h"
#include "UserStylePage.h"
#include "sbTxm.h"
#include "sbTxmChoicePages.h"

#if __has_include("PageSetupPage.h")
#include "PageSetupPage.h"
#define FOLIUM_HAVE_PAGE_SETUP 1
#endif
#if __has_include("SearchPage.h")
#include "SearchPage.h"
#define FOLIUM_HAVE_SEARCH_PAGE 1
#endif

sbTxmPage* MakePage(const QString& sJb, uTxm* editor, QWidget* parent) {
    if (sJb == QLatin1String("TB"))
        return new TablePage(editor, parent);
    if (sJb == QLatin1String("US"))
        return new UserStylePage(editor, parent);
    if (sJb == QLatin1String("DP"))
        return new DisplayPage(editor, parent);
    if (sJb == QLatin1String("LK"))
        return new LinkPage(editor, parent);
    if (sJb == QLatin1String("IM"))
        return new ImePage(editor, parent);
    if (sJb == QLatin1String("TF"))
        return new ImageLayoutPage(editor, parent);
#ifdef FOLIUM_HAVE_PAGE_SETUP
    if (sJb == QLatin1String("PG"))
        return new PageSetupPage(editor, parent);
#endif
#ifdef FOLIUM_HAVE_SEARCH_PAGE
    if (sJb == QLatin1String("FD"))
        return new SearchPage(editor, parent);
#endif
    return nullptr;
}
