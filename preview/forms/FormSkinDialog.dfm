// The preview's modal dialog: a few controls and the two answers, to see a skinned dialog.
object FormSkinDialog: TFormSkinDialog
  Left = 200
  Top = 160
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = '模态对话框'
  ClientWidth = 320
  ClientHeight = 150
  Color = clBtnFace
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = '宋体'
  Font.Style = []
  Position = poScreenCenter
  object LabelName: TLabel
    Left = 16
    Top = 20
    Width = 60
    Height = 14
    Caption = '名称：'
  end
  object EditName: TEdit
    Left = 80
    Top = 16
    Width = 220
    Height = 21
    Text = '对话框中的编辑框'
    TabOrder = 0
  end
  object CheckRemember: TCheckBox
    Left = 80
    Top = 52
    Width = 200
    Height = 17
    Caption = '记住这个选择'
    Checked = True
    TabOrder = 1
  end
  object ButtonOk: TButton
    Left = 136
    Top = 108
    Width = 80
    Height = 25
    Caption = '确定'
    Default = True
    ModalResult = 1
    TabOrder = 2
  end
  object ButtonCancel: TButton
    Left = 224
    Top = 108
    Width = 80
    Height = 25
    Cancel = True
    Caption = '取消'
    ModalResult = 2
    TabOrder = 3
  end
end
