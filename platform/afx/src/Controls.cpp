// The standard controls' few members that are more than one message.
#include "WndState.h"

#include "afxsub_controls.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)

void CListBox::GetText(int nIndex, CString& rString) const
{
    int nLen = GetTextLen(nIndex);
    if (nLen == LB_ERR || nLen < 0)
    {
        rString.Empty();
        return;
    }
    int nGot = GetText(nIndex, rString.GetBufferSetLength(nLen));
    rString.ReleaseBufferSetLength(nGot < 0 ? 0 : nGot);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    int nLen = GetLBTextLen(nIndex);
    if (nLen == CB_ERR || nLen < 0)
    {
        rString.Empty();
        return;
    }
    int nGot = GetLBText(nIndex, rString.GetBufferSetLength(nLen));
    rString.ReleaseBufferSetLength(nGot < 0 ? 0 : nGot);
}
