/*
 * The interface between Tunvex and the libraries it loads at run time:
 * plug-ins (a "*.so" file in the plug-ins folder, listed under "Расширения")
 * and branch-symbol libraries. Usable from C and from C++.
 *
 * A plug-in exports GetPlugName and RunPlugIn (declared at the end) and works
 * on the open network only through the functions below, which the Tunvex
 * program exports by these names. Rules on both sides:
 * - Table pointers address element 1 of their table: item n is at
 *   pointer[n - 1], n from 1 to 5000. They stay valid for the whole run; the
 *   tables never move.
 * - Texts are zero-terminated, in code page 1251. The receiver copies a text
 *   at once; no module frees memory that the other allocated.
 * - Calls are made only on the program's user-interface thread: from inside
 *   RunPlugIn (usually from the plug-in's modal window) or from the program's
 *   drawing calls into a symbol library.
 * - No exception may leave RunPlugIn (the program catches one and shows its
 *   message, but the plug-in's own state is then the plug-in's problem).
 * - Booleans are one byte, 0 false and 1 true. Colours are 0x00BBGGRR.
 *
 * A C++ source that also includes the program's own model headers defines
 * TUNVEX_API_QUALIFIED and calls these as tunvex_api::Name, since the model
 * has C++ functions of the same names.
 */
#ifndef TUNVEX_PLUGIN_API_H
#define TUNVEX_PLUGIN_API_H

#ifdef __cplusplus
#include <cstdint>
#else
#include <stdint.h>
#endif

#if defined(__GNUC__)
#define TUNVEX_API __attribute__((visibility("default")))
#else
#define TUNVEX_API
#endif
/* Marks a plug-in's GetPlugName and RunPlugIn for export. */
#define TUNVEX_PLUGIN_EXPORT TUNVEX_API

#ifdef __cplusplus
namespace tunvex_api {
extern "C" {
#endif

/* Element 1 of each branch table. */
typedef struct BranchInfoBlock
{
    int16_t *BranchNo;          /* n when branch n is present, else 0 */
    int16_t *BranchStartNode;
    int16_t *BranchEndNode;
    int16_t *BranchLength;      /* m */
    int16_t *BranchPLAPosition;
    int16_t *BranchPeople;
    double *BranchR;
    double *BranchAuxDepression;
    double *BranchQ;            /* air flow, m3/s */
    double *BranchAlpha;
    double *BranchStartTemp;
    double *BranchEndTemp;
    double *BranchArea;
    double *BranchHeight;
    double *BranchAngle;
    int16_t *BranchFlags;
    int16_t *BranchLabelFlags;
    uint8_t *BranchIsFresh;
} BranchInfoBlock;

/* Element 1 of each node table. */
typedef struct NodeInfoBlock
{
    int16_t *NodeNo;            /* n when node n exists, else 0 */
    int16_t *NodeX;
    int16_t *NodeY;
    uint8_t *NodeLiftToSurface;
    uint8_t *NodeIsSurface;
    double *NodeAltitude;       /* m; 10000 when not given */
} NodeInfoBlock;

/* The font last applied by SetDefaultFont; a null name and 0 before. */
typedef struct FontInfoBlock
{
    const char *Name;
    int32_t Size;               /* points */
} FontInfoBlock;

/* Counts and numbers. */
TUNVEX_API int32_t NodeCount(void);
TUNVEX_API int32_t BranchCount(void);
TUNVEX_API int32_t MaxNodeNo(void);
TUNVEX_API int32_t MaxBranchNo(void);
/* The number a new item would get; 5001 when the tables are full. */
TUNVEX_API int16_t GetNewNodeNo(void);
TUNVEX_API int16_t GetNewBranchNo(void);
TUNVEX_API int32_t GetMaxItemsCount(void);       /* 5000 */
TUNVEX_API uint8_t ValidItemIndex(int32_t n);    /* 1 <= n <= 5000 */

/* Items. Numbers outside 1..5000 are ignored or answered false. */
TUNVEX_API void CreateNode(int16_t n);
TUNVEX_API void CreateBranch(int16_t n);
TUNVEX_API void DestroyNode(int16_t n);
TUNVEX_API void DestroyBranch(int16_t n);
TUNVEX_API uint8_t NodeExist(int32_t n);
/* Present, with both end nodes existing. */
TUNVEX_API uint8_t BranchExist(int32_t n);
/* No existing branch starts or ends at node n. */
TUNVEX_API uint8_t IsFreeNode(int32_t n);
/* Adds the two end points to the branch's bend-point list. */
TUNVEX_API void InsertBranchEdgeTurns(int32_t n);
/* Mark the document modified; the number is not used. */
TUNVEX_API void TouchNode(int32_t n);
TUNVEX_API void TouchBranch(int32_t n);
/* The name of branch n when it exists, else an empty text; the text stays
   valid until that branch's name changes. */
TUNVEX_API const char *GetBranchName(int32_t n);

/* Data blocks. */
TUNVEX_API void GetNodeInfoBlock(NodeInfoBlock *block);
TUNVEX_API void GetBranchInfoBlock(BranchInfoBlock *block);
TUNVEX_API double *PQtr(void);        /* required flow per branch */
TUNVEX_API int16_t *PPriznDGS(void);  /* DGS mark per branch */

/* Host services. */
TUNVEX_API void *MainApp(void);          /* the QApplication */
TUNVEX_API void *GetMainFormPtr(void);   /* the main window as a QWidget */
TUNVEX_API uintptr_t MainWindowHandle(void); /* the main window's WId */
/* The branch the scheme is drawing at the moment. */
TUNVEX_API int32_t GetCurrentBranch(void);
/* Font and background of the canvas the scheme is being drawn on; outside a
   drawing they change nothing. */
TUNVEX_API void SetFont(const char *name, int32_t size);
TUNVEX_API void SetDefaultFont(void);
TUNVEX_API void GetFontInfoBlock(FontInfoBlock *block);
/* The scheme font name (valid until it changes); size := the label size of
   the current zoom. */
TUNVEX_API const char *GetFontInf(int32_t *size);
TUNVEX_API int32_t GetBackColor(void);
/* Removes all picture symbols of the scheme. */
TUNVEX_API void ClearSymbolList(void);

/*
 * Branch-symbol libraries. A "*.so" in the symbols folder ("Символы" beside
 * the program unless the settings name another) that exports GetSymbolName,
 * GetSymbolDescription, DrawSymbol1 and DrawSymbol2 adds one kind of branch
 * symbol. A library that lacks one of them, or needs a function the program
 * does not export, is released at once without a message. Accepted libraries
 * stay loaded until the main window closes.
 * - GetSymbolName returns the key stored in the links (at most 10 characters
 *   are kept); GetSymbolDescription the caption of the choice lists. Both are
 *   copied at once. A built-in symbol of the same name hides the library's;
 *   of two libraries with one name, the later in file-name order wins.
 * - DrawSymbol1 must be exported; it is never called.
 * - DrawSymbol2 draws the symbol in the square p1, p2, p3, p4 (device pixels):
 *   p1-p2 is the edge on the left of the airway's direction (p1 ahead,
 *   towards the end node), p3-p4 the edge on its right. Draw through the
 *   handle's functions; while DrawSymbol2 runs, GetCurrentBranch,
 *   GetBackColor, GetFontInf, GetFontInfoBlock, SetFont and SetDefaultFont
 *   refer to the canvas being drawn on.
 * - No exception may leave DrawSymbol2 (the program cannot catch it across
 *   this boundary), and a crash inside a library ends the program: nothing
 *   can guard against it.
 */
typedef struct TunvexPoint
{
    int32_t X;
    int32_t Y;
} TunvexPoint;

typedef struct TunvexSymbolDC TunvexSymbolDC;

/* Drawing on the canvas of a handle. Pen styles: 0 solid, 1 dash, 2 dot,
   3 dash-dot, 4 dash-dot-dot, 5 none. Brush styles: 0 solid, 1 clear. A
   solid brush also fills the cell behind text. Font height in pixels:
   negative for the character height, positive for the whole cell, 0 for
   the size in points; style bits 1 bold, 2 italic, 4 underline, 8 strike-out.
   Rectangles and ellipses exclude their right and bottom edges. Texts are
   code page 1251. */
typedef struct TunvexDrawFunctions
{
    void (*SetPen)(TunvexSymbolDC *dc, int32_t color, int32_t width, int32_t style);
    void (*SetBrush)(TunvexSymbolDC *dc, int32_t color, int32_t style);
    void (*SetFont)(TunvexSymbolDC *dc, const char *name, int32_t height, int32_t size, int32_t style,
                    int32_t color);
    void (*MoveTo)(TunvexSymbolDC *dc, int32_t x, int32_t y);
    void (*LineTo)(TunvexSymbolDC *dc, int32_t x, int32_t y);
    void (*Polygon)(TunvexSymbolDC *dc, const TunvexPoint *points, int32_t count);
    void (*Rectangle)(TunvexSymbolDC *dc, int32_t left, int32_t top, int32_t right, int32_t bottom);
    void (*Ellipse)(TunvexSymbolDC *dc, int32_t left, int32_t top, int32_t right, int32_t bottom);
    /* The text with the top-left corner of its cell at (x, y). */
    void (*TextOut)(TunvexSymbolDC *dc, int32_t x, int32_t y, const char *text);
    /* Width and cell height of the text in the current font. */
    void (*TextExtent)(TunvexSymbolDC *dc, const char *text, int32_t *width, int32_t *height);
} TunvexDrawFunctions;

/* The handle passed to DrawSymbol2, valid during that call only. */
struct TunvexSymbolDC
{
    const TunvexDrawFunctions *Draw;
};

typedef const char *(*TGetSymbolName)(void);
typedef const char *(*TGetSymbolDescription)(void);
typedef void (*TDrawSymbol1)(void);
typedef void (*TDrawSymbol2)(TunvexSymbolDC *dc, const TunvexPoint *p1, const TunvexPoint *p2,
                             const TunvexPoint *p3, const TunvexPoint *p4, int32_t penColor);

/* What a plug-in exports: the caption of its menu item (copied at once), and
   the command that shows its window modally and returns when it is closed. */
typedef const char *(*TGetPlugName)(void);
typedef void (*TRunPlugIn)(void);

#ifdef __cplusplus
} /* extern "C" */
} /* namespace tunvex_api */
#ifndef TUNVEX_API_QUALIFIED
using namespace tunvex_api;
#endif
#endif

#endif
