#pragma once
// A modal dialog whose look comes from a skin: the Main picture covers its
// client area, the Mask picture cuts its outline and gives its size, and the
// skin buttons of the layout table sit on top. The dialog owns the pictures
// and the buttons; loading a skin always lets go of the previous one first.
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/CDialogBase.h"
#include "framework/DisplayScale.h"
#include "framework/ScopedHandles.h"
#include "skin/CSkinButton.h"

struct SkinButtonRow;

class CSkinDialog : public CDialogBase {
public:
    explicit CSkinDialog(int templateId) : CDialogBase(templateId) {}
    ~CSkinDialog() override;

    // Which of the skin's pictures OpenSkin reads.
    enum class SkinFaces {
        kAll,
        // Only what the window's first painting needs: the background, the
        // outline and the buttons' normal faces. LoadButtonFaces brings the
        // rest (the faces shown under the mouse, pressed and disabled).
        kNormalFirst,
    };
    // Loads the skin of this skin.ini when the file exists. Otherwise says
    // "Can not load skin files!" and closes the dialog as its OK command does.
    void OpenSkin(const std::string& skinIniPath, SkinFaces faces = SkinFaces::kAll);
    // The pictures of the buttons' other faces, and the faces cut from them,
    // when OpenSkin left them for later; nothing when they are there.
    void LoadButtonFaces();

    // The command of the skin button of that name; nothing here.
    virtual void OnSkinButton(const std::string& name);
    // A skin button was clicked: runs OnSkinButton with its name.
    virtual void OnSkinButtonClicked(int number);
    // The mouse moved over the skin button of that name (in the button's
    // coordinates), or over the dialog itself (empty name, dialog
    // coordinates). Nothing here.
    virtual void OnSkinHover(const std::string& name, POINT pt);
    // Shapes the window from a mask: its pure white pixels lie outside. Says
    // "hello" (caption "Hata") when no region can be made or set.
    virtual void SetSkinRegion(HBITMAP mask);
    // Loads the skin that the skin file names, releasing the previous one.
    virtual void LoadSkin();

    // Whether Tab stops at the skin button of that name; every one here.
    virtual bool SkinButtonTakesFocus(const std::string& name) const;

    size_t GetSkinButtonCount() const { return m_buttons.size(); }
    // The skin button of that window, or null.
    CSkinButton* SkinButtonOf(HWND hwnd) const;
    // The button with that number, or null.
    CSkinButton* GetSkinButton(int number) const;

    // The scale the skin is drawn at: the window's monitor's. The layout
    // rows and the pictures are for 96 DPI and scale with it.
    const DisplayScale& SkinScale() const { return m_scale; }

protected:
    // Paints the skin, reports the mouse over the dialog, draws the skin
    // buttons (their WM_DRAWITEM arrives here: all carry control id 0, so the
    // button is found by its window) and releases the skin on WM_DESTROY.
    // Derived dialogs pass on what they do not handle, WM_DESTROY included.
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Tab follows the windows' order: the buttons are made as the eye reads
    // them, column by column from the left, each top to bottom.
    void CreateSkinButtons();
    void MakeSkinButton(size_t layoutRow, const SkinButtonRow& row, const RECT& rect);
    // Deletes the pictures and destroys and deletes every skin button.
    void ReleaseSkin();
    // The window moved to a monitor of another scale: the skin, its region
    // and its buttons at that scale, the window at the suggested place.
    void RescaleSkin(int dpi, const RECT& suggested);

private:
    friend class CSkinButton;
    // A button's reports pass through here, so that a command that releases
    // the skin does not delete the button that is still reporting.
    void ReportSkinButtonClick(int number);
    void ReportSkinHover(const std::string& name, POINT pt);

    void OnPaint();
    bool DrawSkinButton(const DRAWITEMSTRUCT& item);
    void ReleaseButtons();
    // The Over, Down and Disabled pictures.
    void ReadFacePictures();
    // A button's faces from the pictures read so far; `normal`: its normal
    // face too.
    void CutButtonFaces(CFaceButton& button, int layoutRow, bool normal);
    // A button's faces at a scale other than 96 DPI; no normal face without
    // scaledMain.
    void CutScaledFaces(CFaceButton& button, HBITMAP scaledMain, const RECT& baseRect, const RECT& shownRect);

    // The skin's background and mask brought to one scale, made once for
    // it. The other pictures only give the buttons their faces: each face is
    // scaled on its own, which costs a tenth of scaling whole pictures.
    struct ScaledSkin {
        UniqueBitmap main, mask;
    };
    // The pictures at the current scale: the loaded ones at 96 DPI, the
    // scaled set (made on first need) at any other.
    const ScaledSkin* CurrentScaledSkin();
    HBITMAP ShownMain();

    std::vector<std::unique_ptr<CSkinButton>> m_buttons;
    std::string m_strSkinFile;
    UniqueBitmap m_bmpMain;
    UniqueBitmap m_bmpOver;
    UniqueBitmap m_bmpDown;
    UniqueBitmap m_bmpDisabled;
    // Kept after loading, so that the region can be made at another scale.
    UniqueBitmap m_bmpMask;
    bool m_bFacesLater = false;       // OpenSkin was asked for the normal faces first
    bool m_bFacePicturesRead = false;  // Over, Down and Disabled (or their absence)
    DisplayScale m_scale;
    std::map<int, ScaledSkin> m_scaledSkins;

    int m_nReporting = 0;
    // Buttons released while one of them was reporting; deleted later.
    std::vector<std::unique_ptr<CSkinButton>> m_retiredButtons;
};
