// Help window: a fixed usage text above a bottom panel with the close button.
object FormHelp: TFormHelp
  Left = 330
  Top = 240
  BorderIcons = [biSystemMenu]
  Caption = '简要说明'
  ClientHeight = 317
  ClientWidth = 606
  Color = clBtnFace
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = '宋体'
  Font.Style = []
  Position = poDesktopCenter
  OnCanResize = FormCanResize
  object Panel1: TPanel
    Left = 0
    Top = 282
    Width = 606
    Height = 35
    Align = alBottom
    BevelOuter = bvNone
    TabOrder = 1
    OnClick = Panel1Click
    object Button1: TButton
      Left = 279
      Top = 6
      Width = 75
      Height = 25
      Caption = '&C 关闭'
      TabOrder = 0
      OnClick = Button1Click
    end
  end
  object RichEdit1: TRichEdit
    Left = 0
    Top = 0
    Width = 606
    Height = 282
    Align = alClient
    Font.Charset = GB2312_CHARSET
    Font.Color = clWindowText
    Font.Height = -12
    Font.Name = '宋体'
    Font.Style = []
    Lines.Strings = (
      '一、概述'
      '    文件加密在信息时代必不可少。尽管像Word，Excel，WinZip，WinRAR等工具软件本身也有密码保护机'
      '制，但是这是轻量级的，根本抵抗不住专业破解。因此，出现了各种加密API的国际标准和规范。其中微软'
      'CryptoAPI是一个有足够强度的加密标准。本软件把CryptoAPI变成了现实工具。 '
      '二、使用 '
      '1.文件加密'
      '（1）在“方式选择”上选择“加密”'
      '（2）按“选择源文件”，选择需要加密的文件'
      '（3）按“目标路径”右边的“选择”，选择加密文件的存放位置'
      '（4）按“加密”'
      '2.文件解密'
      '（1）在“方式选择”上选择“解密”'
      '（2）按“选择源文件”，选择需要解密的文件'
      '（3）按“目标路径”右边的“选择”，选择解密文件的存放位置'
      '（4）按“解密”')
    ParentFont = False
    ReadOnly = True
    ScrollBars = ssVertical
    TabOrder = 0
  end
end
