// Painting: device contexts, pens, brushes, fonts, bitmaps, drawing and
// text, system colours and device capabilities, as Windows CE's GDI has them.
#pragma once

#include <windef.h>

#ifdef __cplusplus
extern "C" {
#endif

// --- Colours ---------------------------------------------------------------
#define RGB(r, g, b)   ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) ((BYTE)(rgb))
#define GetGValue(rgb) ((BYTE)(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) ((BYTE)((rgb) >> 16))
#define CLR_INVALID    0xFFFFFFFF

// System colours. The index may carry SYS_COLOR_INDEX_FLAG, as Windows CE
// code writes it; the colour is the same either way.
#define SYS_COLOR_INDEX_FLAG          0x40000000
#define COLOR_SCROLLBAR               0
#define COLOR_BACKGROUND              1
#define COLOR_ACTIVECAPTION           2
#define COLOR_INACTIVECAPTION         3
#define COLOR_MENU                    4
#define COLOR_WINDOW                  5
#define COLOR_WINDOWFRAME             6
#define COLOR_MENUTEXT                7
#define COLOR_WINDOWTEXT              8
#define COLOR_CAPTIONTEXT             9
#define COLOR_ACTIVEBORDER            10
#define COLOR_INACTIVEBORDER          11
#define COLOR_APPWORKSPACE            12
#define COLOR_HIGHLIGHT               13
#define COLOR_HIGHLIGHTTEXT           14
#define COLOR_BTNFACE                 15
#define COLOR_BTNSHADOW               16
#define COLOR_GRAYTEXT                17
#define COLOR_BTNTEXT                 18
#define COLOR_INACTIVECAPTIONTEXT     19
#define COLOR_BTNHIGHLIGHT            20
#define COLOR_3DDKSHADOW              21
#define COLOR_3DLIGHT                 22
#define COLOR_INFOTEXT                23
#define COLOR_INFOBK                  24
#define COLOR_STATIC                  25
#define COLOR_STATICTEXT              26
#define COLOR_GRADIENTACTIVECAPTION   27
#define COLOR_GRADIENTINACTIVECAPTION 28
#define C_SYS_COLOR_TYPES             29
#define COLOR_DESKTOP                 COLOR_BACKGROUND
#define COLOR_3DFACE                  COLOR_BTNFACE
#define COLOR_3DSHADOW                COLOR_BTNSHADOW
#define COLOR_3DHIGHLIGHT             COLOR_BTNHIGHLIGHT

DWORD WINAPI GetSysColor(int nIndex);
HBRUSH WINAPI GetSysColorBrush(int nIndex);

// --- Objects -----------------------------------------------------------------
#define OBJ_PEN    1
#define OBJ_BRUSH  2
#define OBJ_DC     3
#define OBJ_FONT   6
#define OBJ_BITMAP 7
#define OBJ_MEMDC  10

#define WHITE_BRUSH      0
#define LTGRAY_BRUSH     1
#define GRAY_BRUSH       2
#define DKGRAY_BRUSH     3
#define BLACK_BRUSH      4
#define NULL_BRUSH       5
#define HOLLOW_BRUSH     NULL_BRUSH
#define WHITE_PEN        6
#define BLACK_PEN        7
#define NULL_PEN         8
#define SYSTEM_FONT      13
#define DEFAULT_GUI_FONT 17

HGDIOBJ WINAPI GetStockObject(int fnObject);
HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ hgdiobj);
BOOL WINAPI DeleteObject(HGDIOBJ hObject);
DWORD WINAPI GetObjectType(HGDIOBJ h);
int WINAPI GetObjectW(HGDIOBJ hgdiobj, int cbBuffer, LPVOID lpvObject);
HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT uObjectType);

// Pens
#define PS_SOLID 0
#define PS_DASH  1
#define PS_NULL  5

typedef struct tagLOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
} LOGPEN, *PLOGPEN, *LPLOGPEN;

HPEN WINAPI CreatePen(int fnPenStyle, int nWidth, COLORREF crColor);

// Brushes
#define BS_SOLID  0
#define BS_NULL   1
#define BS_HOLLOW BS_NULL

typedef struct tagLOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    LONG lbHatch;
} LOGBRUSH, *PLOGBRUSH, *LPLOGBRUSH;

HBRUSH WINAPI CreateSolidBrush(COLORREF crColor);

// Fonts
#define LF_FACESIZE 32

#define FW_DONTCARE 0
#define FW_THIN     100
#define FW_LIGHT    300
#define FW_NORMAL   400
#define FW_MEDIUM   500
#define FW_SEMIBOLD 600
#define FW_BOLD     700
#define FW_HEAVY    900

#define ANSI_CHARSET    0
#define DEFAULT_CHARSET 1
#define RUSSIAN_CHARSET 204

#define DEFAULT_QUALITY     0
#define ANTIALIASED_QUALITY 4
#define CLEARTYPE_QUALITY   5

#define DEFAULT_PITCH  0
#define FIXED_PITCH    1
#define VARIABLE_PITCH 2
#define FF_DONTCARE    (0 << 4)
#define FF_ROMAN       (1 << 4)
#define FF_SWISS       (2 << 4)
#define FF_MODERN      (3 << 4)

typedef struct tagLOGFONTW {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];
} LOGFONTW, *PLOGFONTW, *LPLOGFONTW;
typedef LOGFONTW LOGFONT;

typedef struct tagTEXTMETRICW {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    WCHAR tmFirstChar;
    WCHAR tmLastChar;
    WCHAR tmDefaultChar;
    WCHAR tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
} TEXTMETRICW, *PTEXTMETRICW, *LPTEXTMETRICW;
typedef TEXTMETRICW TEXTMETRIC;

HFONT WINAPI CreateFontIndirectW(const LOGFONTW* lplf);

// Bitmaps
typedef struct tagBITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
} BITMAP, *PBITMAP, *LPBITMAP;

#define BI_RGB       0
#define BI_BITFIELDS 3

typedef struct tagRGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
} RGBQUAD;

#pragma pack(push, 2)
typedef struct tagBITMAPFILEHEADER {
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
} BITMAPFILEHEADER;
#pragma pack(pop)

typedef struct tagBITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
} BITMAPINFOHEADER, *PBITMAPINFOHEADER, *LPBITMAPINFOHEADER;

typedef struct tagBITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
} BITMAPINFO, *PBITMAPINFO, *LPBITMAPINFO;

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int nWidth, int nHeight);
// cBitsPerPel 1 is monochrome; any other depth is kept as 24-bit colour.
// lpvBits, when given, holds the rows top-down, each a whole number of WORDs.
HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT cPlanes, UINT cBitsPerPel, const void* lpvBits);

// --- Device contexts -----------------------------------------------------------
HDC WINAPI CreateCompatibleDC(HDC hdc);
BOOL WINAPI DeleteDC(HDC hdc);
// What a DC has selected, its colours, background mode and position.
int WINAPI SaveDC(HDC hdc);
BOOL WINAPI RestoreDC(HDC hdc, int nSavedDC);

#define HORZSIZE    4
#define VERTSIZE    6
#define HORZRES     8
#define VERTRES     10
#define BITSPIXEL   12
#define PLANES      14
#define NUMCOLORS   24
#define RASTERCAPS  38
#define LOGPIXELSX  88
#define LOGPIXELSY  90
#define SIZEPALETTE 104

#define RC_BITBLT     1
#define RC_STRETCHBLT 0x0800

int WINAPI GetDeviceCaps(HDC hdc, int nIndex);

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF crColor);
COLORREF WINAPI GetTextColor(HDC hdc);
COLORREF WINAPI SetBkColor(HDC hdc, COLORREF crColor);
#define TRANSPARENT 1
#define OPAQUE      2
int WINAPI SetBkMode(HDC hdc, int iBkMode);
int WINAPI GetBkMode(HDC hdc);

// --- Drawing -------------------------------------------------------------------
BOOL WINAPI MoveToEx(HDC hdc, int X, int Y, LPPOINT lpPoint);
BOOL WINAPI LineTo(HDC hdc, int nXEnd, int nYEnd);
BOOL WINAPI Rectangle(HDC hdc, int nLeftRect, int nTopRect, int nRightRect, int nBottomRect);
BOOL WINAPI RoundRect(HDC hdc, int nLeftRect, int nTopRect, int nRightRect, int nBottomRect, int nWidth, int nHeight);
COLORREF WINAPI SetPixel(HDC hdc, int X, int Y, COLORREF crColor);
COLORREF WINAPI GetPixel(HDC hdc, int nXPos, int nYPos);

// Raster operations of BitBlt.
#define SRCCOPY     0x00CC0020
#define SRCPAINT    0x00EE0086
#define SRCAND      0x008800C6
#define SRCINVERT   0x00660046
#define SRCERASE    0x00440328
#define NOTSRCCOPY  0x00330008
#define NOTSRCERASE 0x001100A6
#define MERGEPAINT  0x00BB0226
#define PATCOPY     0x00F00021
#define PATINVERT   0x005A0049
#define DSTINVERT   0x00550009
#define BLACKNESS   0x00000042
#define WHITENESS   0x00FF0062

BOOL WINAPI BitBlt(HDC hdcDest, int nXDest, int nYDest, int nWidth, int nHeight, HDC hdcSrc, int nXSrc, int nYSrc,
                   DWORD dwRop);
BOOL WINAPI PatBlt(HDC hdc, int nXLeft, int nYLeft, int nWidth, int nHeight, DWORD dwRop);

// --- Text ----------------------------------------------------------------------
#define ETO_OPAQUE  0x0002
#define ETO_CLIPPED 0x0004

BOOL WINAPI ExtTextOutW(HDC hdc, int X, int Y, UINT fuOptions, const RECT* lprc, LPCWSTR lpString, UINT cbCount,
                        const int* lpDx);
BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE lpSize);
BOOL WINAPI GetTextExtentExPointW(HDC hdc, LPCWSTR lpszStr, int cchString, int nMaxExtent, LPINT lpnFit, LPINT alpDx,
                                  LPSIZE lpSize);
BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm);
int WINAPI GetTextFaceW(HDC hdc, int nCount, LPWSTR lpFaceName);

// Text in a rectangle, and rectangles in a brush (the window manager's
// painting helpers).
#define DT_TOP          0x00000000
#define DT_LEFT         0x00000000
#define DT_CENTER       0x00000001
#define DT_RIGHT        0x00000002
#define DT_VCENTER      0x00000004
#define DT_BOTTOM       0x00000008
#define DT_WORDBREAK    0x00000010
#define DT_SINGLELINE   0x00000020
#define DT_EXPANDTABS   0x00000040
#define DT_NOCLIP       0x00000100
#define DT_CALCRECT     0x00000400
#define DT_NOPREFIX     0x00000800
#define DT_END_ELLIPSIS 0x00008000

int WINAPI DrawTextW(HDC hDC, LPCWSTR lpString, int nCount, LPRECT lpRect, UINT uFormat);
int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr);
int WINAPI FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr);

#define DrawText             DrawTextW
#define CreateFontIndirect   CreateFontIndirectW
#define GetObject            GetObjectW
#define ExtTextOut           ExtTextOutW
#define GetTextExtentPoint32 GetTextExtentPoint32W
#define GetTextExtentExPoint GetTextExtentExPointW
#define GetTextMetrics       GetTextMetricsW
#define GetTextFace          GetTextFaceW

#ifdef __cplusplus
}
#endif
