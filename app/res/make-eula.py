#!/usr/bin/env python3
"""Writes eula.rtf, the licence agreement the setup shows, from the text below."""
import os

TITLE = "quorvane End User License Agreement"
INTRO = [
    "Please read this End User License Agreement (\"Agreement\") carefully before installing or using "
    "quorvane. This Agreement is a legal agreement between you (either an individual or a single "
    "organisation, \"you\") and Brantel Sukma Teknika (\"the Vendor\") for the quorvane software product, "
    "which includes the server service, the server application, the agent, the data service, the startup "
    "loader, the viewer, the uninstall program, the database scripts, the associated media, printed "
    "materials and any online or electronic documentation (together, the \"Software\").",
    "By clicking \"I Agree\", or by installing, copying or otherwise using the Software, you agree to be "
    "bound by the terms of this Agreement. If you do not agree to the terms of this Agreement, click "
    "\"Disagree\"; the Software will then not be installed, and you may not use it.",
]
SECTIONS = [
    ("Definitions",
     ["\"Server components\" means the server service, the server application and the database driver "
      "library. \"Client components\" means the agent, the data service, the startup loader and the viewer. "
      "\"Managed computer\" means any computer, physical or virtual, whose hardware or software information "
      "is collected by the Software into a quorvane database. \"Documentation\" means the user and "
      "administrator guides and the online help that the Vendor provides for the Software.",
      "\"Installation\" means the copying of the Software to a computer by means of the setup program or "
      "otherwise, together with the registration of its services and program entries in the operating system "
      "of that computer."]),
    ("Grant of License",
     ["Subject to the terms of this Agreement and to the payment of the applicable license fees, the Vendor "
      "grants you a non-exclusive, non-transferable license to install the Software on computers owned, "
      "leased or otherwise controlled by your organisation and to use it for your internal business purposes "
      "only: to collect, store and view information about the hardware and software of those computers.",
      "You may install the server components on as many servers as your license certificate states, and the "
      "agent, the data service and the viewer on as many client computers as the number of managed computers "
      "for which you have acquired licenses. Each computer whose information is collected into a quorvane "
      "database counts as one managed computer, whether or not the agent runs on it permanently."]),
    ("Reservation of Rights and Ownership",
     ["The Software is licensed, not sold. The Vendor and its suppliers own all title, copyright and other "
      "intellectual property rights in and to the Software and in all copies of it. The Software is protected "
      "by copyright laws and international treaty provisions. All rights not expressly granted to you in this "
      "Agreement are reserved by the Vendor.",
      "The information that the Software collects about your computers belongs to you. The Vendor claims no "
      "right in that information and does not receive it, unless you send it to the Vendor yourself, for "
      "example as part of a support request."]),
    ("Restrictions",
     ["You may not: (a) reverse engineer, decompile or disassemble the Software, except and only to the "
      "extent that applicable law expressly permits such activity notwithstanding this limitation; (b) rent, "
      "lease, lend, sell, sublicense or otherwise transfer the Software to a third party, or use it to provide "
      "commercial hosting or inventory services to third parties; (c) remove, alter or obscure any proprietary "
      "notice, label or mark on the Software; (d) modify the Software or create derivative works based on it; "
      "(e) use the Software in any manner that breaks the law or the rights of others, including the privacy "
      "rights of the users of the computers that it inventories.",
      "You are responsible for informing the users of the managed computers, as far as the law requires, that "
      "information about their computers is collected, and for obtaining any consent that may be needed."]),
    ("Database and Third-Party Components",
     ["The Software stores its data in a Microsoft SQL Server database that you provide and license "
      "separately. The setup program can create that database, a login and a database user for the Software, "
      "for which it asks for the login of a database administrator; that login is used only during the "
      "installation and is not stored by the Software.",
      "The Software may contain components licensed to the Vendor by third parties, including a database "
      "driver library. Such components are governed by this Agreement unless they come with terms of their "
      "own, in which case those terms apply to them."]),
    ("Network Use",
     ["The server service, the agent and the data service communicate over the TCP and UDP ports that you "
      "choose during setup. You are responsible for configuring your network, firewalls and access rights so "
      "that only authorised computers can reach these services. The Vendor is not responsible for any access "
      "to the Software or to its data that results from the configuration of your network."]),
    ("Updates and Support",
     ["The Vendor may, but is not obliged to, provide updates, corrections or new versions of the Software. "
      "Any such update is licensed under this Agreement unless it comes with a separate agreement. Technical "
      "support, if any, is provided under the terms of a separate support agreement or as described in the "
      "documentation of the Software.",
      "Before installing a new version, uninstall the previous version of the Software; the setup program "
      "will not install over product components that are already present."]),
    ("Privacy and Data Protection",
     ["The Software collects technical information about the managed computers, such as their names, network "
      "addresses, installed hardware, installed programs and their versions. Depending on how you configure it, "
      "this information may include the names of the users who sign in to those computers. Such information "
      "may be personal data under the laws that apply to you.",
      "You act as the controller of all personal data that the Software collects on your behalf. You are "
      "responsible for determining a lawful basis for the collection, for limiting access to the quorvane "
      "database to authorised staff, for keeping the data no longer than needed and for answering the "
      "requests of the persons concerned. The Vendor does not process this data on your behalf unless agreed "
      "in a separate written agreement."]),
    ("Backup and Data Integrity",
     ["The setup program creates a database and may create a script file that you can run instead. Before "
      "installing the Software on a database server that holds other data, make a complete backup of that "
      "server. The Vendor recommends that you back up the quorvane database regularly and test the "
      "restoration of your backups. The Vendor is not responsible for the loss of data that a backup would "
      "have prevented."]),
    ("Evaluation Copies",
     ["If the Software is provided to you for evaluation, your license is limited to thirty (30) days from "
      "installation, for the sole purpose of evaluating whether to purchase a license, on no more than "
      "twenty-five (25) managed computers, and the Software is provided without any warranty, including the "
      "limited warranty of this Agreement. At the end of the evaluation period you must either purchase a "
      "license or uninstall the Software."]),
    ("Audit",
     ["Upon reasonable written notice, and not more than once in any twelve-month period, the Vendor may "
      "ask you to certify in writing the number of servers and managed computers on which the Software is "
      "installed or whose information it collects. If that number exceeds the number of licenses you have "
      "acquired, you agree to acquire the missing licenses at the Vendor's then current prices."]),
    ("Transfer",
     ["You may make a one-time permanent transfer of all of your rights under this Agreement to another "
      "organisation, provided that you retain no copies of the Software, that you transfer all of the "
      "Software, including all component parts, media, printed materials, upgrades and license certificates, "
      "and that the recipient agrees to the terms of this Agreement. If the Software is an upgrade, any "
      "transfer must include all prior versions of the Software. Licenses acquired for a particular number "
      "of managed computers may not be split between organisations."]),
    ("Term and Termination",
     ["This Agreement is effective until terminated. Your rights under this Agreement terminate automatically "
      "without notice from the Vendor if you fail to comply with any of its terms. Upon termination you must "
      "stop using the Software, uninstall it from all computers and destroy all copies of it in your "
      "possession. the sections on ownership, privacy, warranties, liability and general provisions survive any termination of this Agreement."]),
    ("Limited Warranty",
     ["The Vendor warrants that the Software will perform substantially in accordance with its documentation "
      "for a period of ninety (90) days from the date on which you first install it. Your exclusive remedy "
      "under this warranty shall be, at the Vendor's option, either the return of the license fee paid for "
      "the Software or the repair or replacement of the Software that does not meet this warranty, provided "
      "that it is returned to the Vendor with a copy of your receipt.",
      "This limited warranty is void if the failure of the Software results from accident, abuse, "
      "misapplication, modification or use on an operating system or database server that the documentation "
      "does not name as supported."]),
    ("Disclaimer of Warranties",
     ["EXCEPT FOR THE LIMITED WARRANTY ABOVE, AND TO THE MAXIMUM EXTENT PERMITTED BY APPLICABLE LAW, THE "
      "SOFTWARE IS PROVIDED \"AS IS\", AND THE VENDOR AND ITS SUPPLIERS DISCLAIM ALL OTHER WARRANTIES AND "
      "CONDITIONS, WHETHER EXPRESS, IMPLIED OR STATUTORY, INCLUDING BUT NOT LIMITED TO ANY IMPLIED WARRANTIES "
      "OF MERCHANTABILITY, FITNESS FOR A PARTICULAR PURPOSE, TITLE AND NON-INFRINGEMENT. THE VENDOR DOES NOT "
      "WARRANT THAT THE SOFTWARE WILL MEET YOUR REQUIREMENTS, THAT ITS OPERATION WILL BE UNINTERRUPTED OR "
      "ERROR-FREE, OR THAT THE INFORMATION IT COLLECTS WILL BE COMPLETE OR ACCURATE."]),
    ("Limitation of Liability",
     ["TO THE MAXIMUM EXTENT PERMITTED BY APPLICABLE LAW, IN NO EVENT SHALL THE VENDOR OR ITS SUPPLIERS BE "
      "LIABLE FOR ANY SPECIAL, INCIDENTAL, INDIRECT OR CONSEQUENTIAL DAMAGES WHATSOEVER, INCLUDING, WITHOUT "
      "LIMITATION, DAMAGES FOR LOSS OF BUSINESS PROFITS, BUSINESS INTERRUPTION, LOSS OF BUSINESS INFORMATION "
      "OR ANY OTHER PECUNIARY LOSS, ARISING OUT OF THE USE OF OR INABILITY TO USE THE SOFTWARE, EVEN IF THE "
      "VENDOR HAS BEEN ADVISED OF THE POSSIBILITY OF SUCH DAMAGES. IN ANY CASE, THE ENTIRE LIABILITY OF THE "
      "VENDOR UNDER ANY PROVISION OF THIS AGREEMENT SHALL BE LIMITED TO THE AMOUNT ACTUALLY PAID BY YOU FOR "
      "THE SOFTWARE."]),
    ("Export and Government Use",
     ["You agree to comply with all export and re-export laws and regulations that apply to the Software, "
      "including restrictions on destinations, end users and end use.",
      "If you are a government agency, the Software and its documentation are commercial computer software "
      "and commercial computer software documentation, and your rights in them are only those granted to all "
      "other end users under this Agreement."]),
    ("General Provisions",
     ["This Agreement is the entire agreement between you and the Vendor relating to the Software and "
      "supersedes all prior or contemporaneous oral or written communications, proposals and representations "
      "with respect to the Software. If any provision of this Agreement is held to be unenforceable, that "
      "provision shall be enforced to the maximum extent permissible, and the remaining provisions shall "
      "remain in full force and effect.",
      "This Agreement is governed by the laws of the Republic of Indonesia, without regard to its conflict of "
      "laws provisions. Any dispute arising out of or in connection with this Agreement shall be submitted to "
      "the competent courts of Jakarta, unless the law of your country of residence requires otherwise.",
      "No failure or delay by the Vendor in exercising any right under this Agreement shall operate as a "
      "waiver of that right. You may not assign this Agreement without the prior written consent of the "
      "Vendor."]),
]
ACK = ("BY CLICKING \"I AGREE\" YOU ACKNOWLEDGE THAT YOU HAVE READ THIS AGREEMENT, UNDERSTAND IT AND AGREE TO BE "
       "BOUND BY ITS TERMS AND CONDITIONS. YOU FURTHER AGREE THAT IT IS THE COMPLETE AND EXCLUSIVE STATEMENT OF "
       "THE AGREEMENT BETWEEN YOU AND THE VENDOR, WHICH SUPERSEDES ANY PROPOSAL OR PRIOR AGREEMENT, ORAL OR "
       "WRITTEN, AND ANY OTHER COMMUNICATIONS RELATING TO THE SUBJECT MATTER OF THIS AGREEMENT.")
CONTACT = ("Should you have any questions concerning this Agreement, or if you wish to contact the Vendor for "
           "any reason, please write to: Brantel Sukma Teknika, Licensing Department.")
COPYRIGHT = "Copyright \\'a9 Brantel Sukma Teknika. All rights reserved."


def esc(text):
    return text.replace("\\", "\\\\").replace("{", "\\{").replace("}", "\\}")


def para(text, style=r"\f0\fs17"):
    return r"{\pard\sa120\sl-240\slmult0" + style + " " + esc(text) + r"\par}" + "\r\n"


out = [r"{\rtf1\ansi\ansicpg1252\deff0\deflang1033" "\r\n",
       r"{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\froman\fcharset0 Times New Roman;}}" "\r\n",
       r"{\colortbl ;\red11\green37\blue69;\red27\green153\blue139;}" "\r\n",
       r"{\info{\title " + TITLE + r"}{\author Brantel Sukma Teknika}}" "\r\n",
       r"\viewkind4\uc1\margl720\margr720" "\r\n",
       r"{\pard\qc\sa200\f0\fs28\b\cf1 " + esc(TITLE) + r"\par}" "\r\n",
       r"{\pard\qc\sa240\f0\fs18\i\cf2 IMPORTANT - READ CAREFULLY BEFORE INSTALLING\par}" "\r\n"]
for p in INTRO:
    out.append(para(p))
for number, (heading, paragraphs) in enumerate(SECTIONS, 1):
    out.append(r"{\pard\sb160\sa80\keepn\f0\fs19\b\cf1 " + esc("%d. %s" % (number, heading)) + r"\par}" "\r\n")
    for p in paragraphs:
        out.append(para(p))
out.append(para(ACK, r"\f0\fs17\b"))
out.append(para(CONTACT, r"\f0\fs17\i"))
out.append(r"{\pard\qc\sb200\f0\fs16 " + COPYRIGHT + r"\par}" "\r\n")
out.append("}")
data = "".join(out).encode("cp1252")
here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "eula.rtf"), "wb") as f:
    f.write(data)
print(len(data))
